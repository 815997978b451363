# A whole report run with TQuillon beside the Jinja2 peer (bench/report_vs_jinja.sh).
if(TARGET quillon_engine)
  add_executable(bench_report_run ${CMAKE_CURRENT_LIST_DIR}/report_run_bench.cpp)
  target_link_libraries(bench_report_run PRIVATE quillon_engine)
endif()
