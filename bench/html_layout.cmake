# Paragraph layout: Quillon laying out a generated 1000-page report (parse plus layout, and
# layout alone), side by side with litehtml laying out the same bytes through a container
# that measures with the same canvas (litehtml is linked here only).
find_package(litehtml CONFIG QUIET)
if(TARGET quillon_html_tree)
  add_executable(bench_html_layout ${CMAKE_CURRENT_LIST_DIR}/html_layout_bench.cpp)
  target_link_libraries(bench_html_layout PRIVATE quillon_html_tree benchmark::benchmark)
  if(TARGET litehtml)
    target_link_libraries(bench_html_layout PRIVATE litehtml)
    target_include_directories(bench_html_layout PRIVATE /usr/include/litehtml)
    target_compile_definitions(bench_html_layout PRIVATE QUILLON_BENCH_LITEHTML=1)
  endif()
endif()
