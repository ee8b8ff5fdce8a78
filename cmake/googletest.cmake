# GoogleTest for the tests: the installed package where it fits the target
# (Debian's libgtest-dev, native builds); cross builds compile it from the
# sources of Debian's googletest package.
include(GoogleTest)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest REQUIRED)
  return()
endif()
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross builds")
if(NOT EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${GOOGLETEST_SOURCE_DIR}: install Debian's googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Compiled once per build folder, unoptimised and without debug information
# like the test code; its warnings are not ours to fix.
target_compile_options(gtest PRIVATE -O0 -g0 -w)
