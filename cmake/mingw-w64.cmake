# Cross-building vornprog.exe for 64-bit Windows with Debian's mingw-w64.
# The posix thread model is the one whose libstdc++ has std::thread and
# std::mutex; the runtime is linked in statically, so the .exe runs with
# no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VORN_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VORN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VORN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VORN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
