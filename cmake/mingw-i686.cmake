# Cross-compiles for 32-bit Windows with MinGW-w64: the shipped pictornx.dll.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Every i686 target, the portable kernels and the cross-built libraries included, computes
# doubles in SSE2 registers and may vectorise with SSE2: x87 arithmetic keeps extended
# precision in registers, so a double formula would give other bytes than on any IEEE
# double machine, and runs several times slower. Windows hands callbacks and exports a
# 4-byte aligned stack, so functions realign it where SSE needs it.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
