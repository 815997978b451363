# The viewer widget with a 1000-page report: load, scroll with repaints, find, copy.
if(TARGET quillon_html_view_qt)
  add_executable(bench_html_view ${CMAKE_CURRENT_LIST_DIR}/html_view_bench.cpp)
  target_link_libraries(bench_html_view PRIVATE quillon_html_view_qt)
  target_include_directories(bench_html_view PRIVATE ${PROJECT_SOURCE_DIR})
endif()
