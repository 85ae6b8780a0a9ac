# Cross-builds for 64-bit Windows with Debian's mingw-w64 (POSIX thread model,
# package g++-mingw-w64-x86-64-posix). The programs are linked statically, so a
# .exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PICTOR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PICTOR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PICTOR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PICTOR_MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw sysroot; build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${PICTOR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine when CMake runs them itself.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
