# What both MinGW-w64 toolchain files share; each sets HUX_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
# Debian's posix thread model compilers: std::thread and std::mutex over winpthreads. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${HUX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HUX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HUX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HUX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
