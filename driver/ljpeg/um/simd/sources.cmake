# Fast variants of the encoder's hot routines, chosen at run time.
# Included by the encoder's CMakeLists.txt, which adds the list to its targets.
set(VELMORAJ_FAST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/cpu_features.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fast_select.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transform_sse2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transform_avx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/encodeblock_fast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mcucoder_avx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mcucoder_avx512.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixelreader_avx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/greyreader_fast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chromasampler_sse2.cpp
)
if(MINGW AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC for Windows does not align the stack for 32-byte vector spills;
  # let the assembler turn aligned vector moves into unaligned ones.
  set_source_files_properties(${VELMORAJ_FAST_SOURCES} PROPERTIES
    COMPILE_OPTIONS "-Wa,-muse-unaligned-vector-move")
endif()
# The MCU coder and the transforms inline generic code (packing, the
# width-generic DCT of dct_lanes.h) into vector code, which target
# attributes cannot do: those files are built for their instruction set
# throughout, and set-up calls them only on CPUs that have it. i686 does
# not assume SSE2 either.
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/mcucoder_avx2.cpp APPEND PROPERTY
  COMPILE_OPTIONS -mavx2 -mbmi -mbmi2 -mlzcnt)
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/mcucoder_avx512.cpp APPEND PROPERTY
  COMPILE_OPTIONS -mavx512f -mavx512bw -mavx2 -mbmi -mbmi2 -mlzcnt)
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/transform_avx2.cpp APPEND PROPERTY
  COMPILE_OPTIONS -mavx2)
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/encodeblock_fast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transform_sse2.cpp APPEND PROPERTY COMPILE_OPTIONS -msse2)
