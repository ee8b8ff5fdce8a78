# Cross build for 32-bit Windows: the DLL and the stand-in player that ship.
set(VIS_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The player runs on processors without SSE: Pentium Pro instructions and x87,
# for every C++ target (CMakeLists.txt). A plain variable, not a cache entry,
# so that a change here reaches a configured build folder.
set(VIS_TARGET_CXX_OPTIONS -march=pentiumpro -mfpmath=387)
