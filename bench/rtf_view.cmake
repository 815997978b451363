# The RTF viewer window opening a long generated report: time to the first page on
# screen, then page moves. Runs offscreen without a display.
if(TARGET quillon_viewers AND TARGET quillon_engine)
  add_executable(bench_rtf_view ${CMAKE_CURRENT_LIST_DIR}/rtf_view_bench.cpp)
  target_link_libraries(bench_rtf_view PRIVATE quillon_viewers quillon_engine)
  target_include_directories(bench_rtf_view PRIVATE ${PROJECT_SOURCE_DIR})
endif()
