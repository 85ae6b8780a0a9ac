# Warning flags shared by every Pictor target.
function(pictor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(PICTOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
