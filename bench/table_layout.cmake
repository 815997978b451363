# Table layout: the report of 60-row tables per page laid out at 100 and 1000 pages, to show
# that the cost grows linearly with the pages.
if(TARGET quillon_html_tree)
  add_executable(bench_table_layout ${CMAKE_CURRENT_LIST_DIR}/table_layout_bench.cpp)
  target_link_libraries(bench_table_layout PRIVATE quillon_html_tree benchmark::benchmark)
endif()
