# The programs' version (library pictor_version, src/version/program_version.h):
# the project's version, and the short commit for builds from a git checkout
# (see WriteVersion.cmake). The git state is read at every build.
set(pictor_version_source "${PROJECT_BINARY_DIR}/version/program_version.cpp")
add_custom_target(pictor_version_file
  COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DOUTPUT=${pictor_version_source} -P ${PROJECT_SOURCE_DIR}/cmake/WriteVersion.cmake
  BYPRODUCTS ${pictor_version_source}
  COMMENT "Checking the version"
  VERBATIM)
add_library(pictor_version STATIC ${pictor_version_source})
add_dependencies(pictor_version pictor_version_file)
target_include_directories(pictor_version PUBLIC ${PROJECT_SOURCE_DIR}/src)
pictor_warnings(pictor_version)
