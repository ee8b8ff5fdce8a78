# Cross build for 32-bit Windows: the DLL and the stand-in player that ship.
set(VIS_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The player runs on processors without SSE: Pentium Pro instructions and x87.
set(CMAKE_CXX_FLAGS_INIT "-march=pentiumpro -mfpmath=387")
