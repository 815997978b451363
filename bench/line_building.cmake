# Building report lines: one detail line with ten slots, values set by name in the event.
add_executable(bench_line_building ${CMAKE_CURRENT_LIST_DIR}/line_building_bench.cpp)
target_link_libraries(bench_line_building PRIVATE quillon_engine benchmark::benchmark)
