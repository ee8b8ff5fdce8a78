# Every build folder compiles through ccache when it is installed: a clean
# build, another clone or another branch then reuses what any of them compiled
# before. The cache is ccache's own, in the user's cache folder
# (~/.cache/ccache), outside the clone. -DVIS_CCACHE=OFF (the Makefile passes
# VIS_CCACHE from the environment) or CCACHE_DISABLE=1 compiles directly.
option(VIS_CCACHE "Compile through ccache when it is installed" ON)
find_program(VIS_CCACHE_PROGRAM ccache)
if(NOT VIS_CCACHE OR NOT VIS_CCACHE_PROGRAM)
  return()
endif()
# Paths under the clone are hashed relative to it and the working folder not
# at all, so that clones in different places share their results. The
# precompiled headers need the sloppiness: ccache cannot see which macros a
# header's compiled form depends on, nor trust the times of files that a fresh
# clone has just written.
# Depend mode takes a file's inputs from the compiler's own dependency file
# (-MD, which Ninja's builds pass) instead of running the preprocessor
# first: a compile the cache misses runs once, not twice.
set(VIS_CCACHE_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1 CCACHE_DEPEND=1
  CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${VIS_CCACHE_PROGRAM})
set(CMAKE_CXX_COMPILER_LAUNCHER ${VIS_CCACHE_LAUNCHER})
set(CMAKE_C_COMPILER_LAUNCHER ${VIS_CCACHE_LAUNCHER})
# GCC names the precompiled header it uses in its preprocessed output only
# with this option; ccache hashes that header through it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-fpch-preprocess)
endif()
