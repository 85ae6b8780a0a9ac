# Dependencies of the Windows command-line build (toolchain cmake/mingw-w64.cmake).
# Debian packages no Windows libraries of these, so they come from sources on
# the build machine:
# - CLI11 is header-only: its headers are copied into the build tree, because
#   putting /usr/include on the include path would mix the host's C library
#   headers into the cross build;
# - GoogleTest is built from Debian's googletest source package.

set(pictor_cli11_dir "${PROJECT_BINARY_DIR}/third_party/cli11")
if(NOT EXISTS "${pictor_cli11_dir}/CLI/CLI.hpp")
  if(NOT EXISTS /usr/include/CLI/CLI.hpp)
    message(FATAL_ERROR "CLI11 headers not found in /usr/include/CLI (package libcli11-dev)")
  endif()
  file(COPY /usr/include/CLI DESTINATION "${pictor_cli11_dir}")
endif()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE "${pictor_cli11_dir}")

if(PICTOR_BUILD_TESTS)
  set(pictor_googletest_dir /usr/src/googletest CACHE PATH "GoogleTest sources to build the tests with")
  if(NOT EXISTS "${pictor_googletest_dir}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${pictor_googletest_dir} (package googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory("${pictor_googletest_dir}" "${PROJECT_BINARY_DIR}/third_party/googletest"
                   EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()
