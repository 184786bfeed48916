# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers
# (g++-mingw-w64-x86-64-posix: the posix thread model, which std::thread and Qt need).
# scripts/package-windows.sh passes ZELVA_WINDOWS_PREFIX, the folder that holds the
# Windows builds of Qt and the libraries the program links with.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELVA_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZELVA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELVA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELVA_MINGW_TRIPLET}-windres)

# Kept for try_compile projects, which re-read this file.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELVA_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${ZELVA_MINGW_TRIPLET} ${ZELVA_WINDOWS_PREFIX})
# Programs run on this machine; headers, libraries and packages are the Windows ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
