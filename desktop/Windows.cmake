# The Windows program as users get it: kr7control.exe in an installer made
# by NSIS (`cpack -G NSIS`: KR7Control-<version>-win64.exe, per machine into
# Program Files, a Start-menu entry, the .r3p and .r3b file types) and in a
# portable zip (`cpack -G ZIP`). Debian's nsis builds the installer on Linux.

install(TARGETS kr7control RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)

set(_nsis ${CMAKE_CURRENT_SOURCE_DIR}/windows)
# Values reach the NSIS script as written here, quotes included.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME KR7Control)
set(CPACK_PACKAGE_VENDOR Norvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the Norvane Valvora KR7 guitar pedal")
set(CPACK_PACKAGE_FILE_NAME KR7Control-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY KR7Control)
set(CPACK_PACKAGE_EXECUTABLES kr7control KR7Control)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME KR7Control)
set(CPACK_NSIS_DISPLAY_NAME KR7Control)
set(_icon ${PROJECT_BINARY_DIR}/app/shell/kr7control.ico)
set(CPACK_NSIS_MUI_ICON ${_icon})
set(CPACK_NSIS_MUI_UNIICON ${_icon})
set(CPACK_NSIS_INSTALLED_ICON_NAME kr7control.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit installer: it writes the 64-bit registry view and Program Files
# without redirection, and runs where only 64-bit programs run.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include \"${_nsis}/Associate.nsh\"")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!include \"${_nsis}/Install.nsh\"")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!include \"${_nsis}/Uninstall.nsh\"")
include(CPack)
