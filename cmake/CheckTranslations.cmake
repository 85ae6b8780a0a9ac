# Fails when a translation file is not complete: runs lupdate over the sources
# into copies of the .ts files (keeping entries whose text left the sources) and
# looks for entries still to translate (type="unfinished") and entries of texts
# no longer in the sources (type="obsolete" or "vanished").
# Run as: cmake -DLUPDATE=... -DSOURCE_DIRS=a|b -DTS_FILES=a.ts|b.ts
#               -DOPTIONS=...|... -DWORK_DIR=... -P CheckTranslations.cmake
string(REPLACE "|" ";" source_dirs "${SOURCE_DIRS}")
string(REPLACE "|" ";" ts_files "${TS_FILES}")
string(REPLACE "|" ";" options "${OPTIONS}")
list(REMOVE_ITEM options -no-obsolete)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
set(problems "")
foreach(ts IN LISTS ts_files)
  get_filename_component(name "${ts}" NAME)
  file(COPY_FILE "${ts}" "${WORK_DIR}/${name}")
  execute_process(COMMAND "${LUPDATE}" ${options} ${source_dirs} -ts "${WORK_DIR}/${name}"
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  file(STRINGS "${WORK_DIR}/${name}" lines ENCODING UTF-8)
  set(source "")
  foreach(line IN LISTS lines)
    if(line MATCHES "<source>(.*)</source>")
      set(source "${CMAKE_MATCH_1}")
    elseif(line MATCHES "type=\"(unfinished|obsolete|vanished)\"")
      string(APPEND problems "  ${name}: ${CMAKE_MATCH_1}: ${source}\n")
    endif()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "The translations are not complete (run the update_translations target "
                      "and translate):\n${problems}")
endif()
message(STATUS "translations complete: ${TS_FILES}")
