# Cross build for 64-bit Windows: the Windows tests run it where this machine
# can run no 32-bit program, natively or emulated.
set(VIS_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
