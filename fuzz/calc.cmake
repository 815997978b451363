quillon_add_fuzzer(fuzz_calc ${CMAKE_CURRENT_LIST_DIR}/calc_fuzz.cpp DEPS quillon_calc)
