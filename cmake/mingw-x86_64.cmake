# Cross-compiles for 64-bit Windows with MinGW-w64. Not shipped: machines that cannot run
# 32-bit x86 programs (so not 32-bit Wine) run the Windows tests and the demo with it.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
