# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compiler of the
# POSIX thread model (g++-mingw-w64-x86-64-posix). The programs are linked
# statically: a .exe needs no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TONALUX_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TONALUX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TONALUX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TONALUX_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TONALUX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# The test programs and the tool run under Wine on this machine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
