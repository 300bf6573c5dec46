# Cross build of the same sources for x86-64 Windows: the test bed on
# machines that cannot run 32-bit code (64-bit Wine runs everywhere).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
