# Writes the source file that holds the programs' version (run at every build by
# the pictor_version_file target; the file is rewritten only when its text
# changes, so an unchanged version recompiles nothing).
#
# In: VERSION (X.Y.Z), SOURCE_DIR, OUTPUT. A build from a git checkout appends
# "+g<short commit>" unless HEAD is the tag vX.Y.Z and no tracked file changed.
set(version "${VERSION}")
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --short=7 HEAD
                  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE commit
                  RESULT_VARIABLE commit_result OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND "${GIT_EXECUTABLE}" describe --tags --exact-match --match "v${VERSION}" HEAD
                  WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE tag_result
                  OUTPUT_QUIET ERROR_QUIET)
  execute_process(COMMAND "${GIT_EXECUTABLE}" status --porcelain --untracked-files=no
                  WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE changes
                  RESULT_VARIABLE status_result ERROR_QUIET)
  if(commit_result EQUAL 0 AND NOT commit STREQUAL ""
     AND NOT (tag_result EQUAL 0 AND status_result EQUAL 0 AND changes STREQUAL ""))
    set(version "${version}+g${commit}")
  endif()
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT [[
// Written by cmake/WriteVersion.cmake at build time.
#include "version/program_version.h"

std::string_view pictor::ProgramVersion() {
    return "@version@";
}
]] @ONLY)
