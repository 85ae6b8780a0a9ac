# Warning flags shared by every Pictor target.
function(pictor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(MINGW)
    # GCC 12 reports string copies inside libstdc++ as overlapping or reading
    # uninitialised bytes when it inlines them at -O2 and above (false positives).
    target_compile_options(${target} PRIVATE -Wno-restrict -Wno-maybe-uninitialized)
  endif()
  if(PICTOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
