quillon_add_fuzzer(fuzz_load_format ${CMAKE_CURRENT_LIST_DIR}/load_format_fuzz.cpp
                   DEPS quillon_engine)
