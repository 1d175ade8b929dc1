# Shared build settings: warnings, sanitizers, and a helper that turns one
# source folder into a namespaced static library.

add_library(kr7_warnings INTERFACE)
target_compile_options(kr7_warnings INTERFACE -Wall -Wextra -Wpedantic)

if(KR7_SANITIZE)
  string(REPLACE "," ";" _kr7_sans "${KR7_SANITIZE}")
  foreach(_s IN LISTS _kr7_sans)
    add_compile_options(-fsanitize=${_s})
    add_link_options(-fsanitize=${_s})
  endforeach()
  add_compile_options(-fno-omit-frame-pointer -fno-sanitize-recover=all)
endif()

# kr7_folder_library(<name> [DIR <dir>] [DEPS ...]) builds every .cpp directly in
# DIR (default: the current folder) into kr7_<name>, aliased kr7::<name>.
function(kr7_folder_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB _srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT _srcs)
    # A folder with headers only (or not yet written) still gives a target.
    add_library(kr7_${name} INTERFACE)
    add_library(kr7::${name} ALIAS kr7_${name})
    target_include_directories(kr7_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(kr7_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(kr7_${name} STATIC ${_srcs})
  add_library(kr7::${name} ALIAS kr7_${name})
  target_include_directories(kr7_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(kr7_${name} PUBLIC ${ARG_DEPS} PRIVATE kr7_warnings)
endfunction()

# kr7_test_binary(<name> DIR <dir> DEPS ...) builds every .cpp in a tests
# sub-folder into one GoogleTest binary and registers its cases with CTest.
function(kr7_test_binary name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;LABELS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock kr7_warnings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # A cross-built binary cannot be listed at build time; scripts/test runs
  # those whole, under Wine.
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
