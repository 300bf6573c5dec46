# Cross build for the 32-bit game: mingw-w64 i686.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORVEL_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
