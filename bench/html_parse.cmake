# HTML parsing: Quillon's tokenizer and parser on a large generated report, side by side
# with Gumbo building its tree from the same bytes (Gumbo is linked here only).
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(GUMBO QUIET IMPORTED_TARGET gumbo)
endif()
if(TARGET quillon_html_tree)
  add_executable(bench_html_parse ${CMAKE_CURRENT_LIST_DIR}/html_parse_bench.cpp)
  target_link_libraries(bench_html_parse PRIVATE quillon_html_tree benchmark::benchmark)
  if(GUMBO_FOUND)
    target_link_libraries(bench_html_parse PRIVATE PkgConfig::GUMBO)
    target_compile_definitions(bench_html_parse PRIVATE QUILLON_BENCH_GUMBO=1)
  endif()
endif()
