# The RTF reader and the QTextDocument filler on a long report in the engine's RTF.
if(TARGET quillon_rtf_qt)
  add_executable(bench_rtf_reader ${CMAKE_CURRENT_SOURCE_DIR}/rtf_reader_bench.cpp)
  target_link_libraries(bench_rtf_reader PRIVATE quillon_rtf quillon_rtf_qt benchmark::benchmark)
  target_compile_definitions(bench_rtf_reader PRIVATE
      QUILLON_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
endif()
