# Cross build for Windows x86-64 with Debian's MinGW-w64 compilers of the
# posix thread model, which give std::thread, std::mutex and std::jthread.
# The libraries come from scripts/windows-deps; pass its prefix as
# KR7_WINDOWS_PREFIX (scripts/build-windows does).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_kr7_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_kr7_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_kr7_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_kr7_triple}-windres)
set(CMAKE_AR ${_kr7_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_kr7_triple}-ranlib CACHE FILEPATH "")

set(KR7_WINDOWS_PREFIX "$ENV{KR7_WINDOWS_PREFIX}" CACHE PATH "Prefix of the cross-built Windows libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KR7_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${_kr7_triple} ${KR7_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The prefix is to this build what /usr is to a native one: header-only
# libraries (stb, SimpleIni) are found there without a pkg-config module.
set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${KR7_WINDOWS_PREFIX}/include)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${KR7_WINDOWS_PREFIX}/include)

# pkg-config sees only the Windows libraries, and every library is static, so
# each module brings the system libraries it needs with it.
set(ENV{PKG_CONFIG_LIBDIR} "${KR7_WINDOWS_PREFIX}/lib/pkgconfig:/usr/${_kr7_triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)

# The C and C++ runtimes go into each program, so it runs without DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
