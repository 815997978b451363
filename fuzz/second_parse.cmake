quillon_add_fuzzer(fuzz_second_parse ${CMAKE_CURRENT_LIST_DIR}/second_parse_fuzz.cpp
                   DEPS quillon_engine)
