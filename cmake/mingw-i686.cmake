# Cross build for 32-bit Windows: the DLL and the stand-in player that ship.
set(VIS_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# Reals are doubles in SSE registers, as in the native and 64-bit builds, so
# every build rounds the same way (x87 would keep extra precision).
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
