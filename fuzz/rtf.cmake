quillon_add_fuzzer(fuzz_rtf ${CMAKE_CURRENT_LIST_DIR}/rtf_fuzz.cpp DEPS quillon_rtf)
