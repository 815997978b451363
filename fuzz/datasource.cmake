quillon_add_fuzzer(fuzz_datasource ${CMAKE_CURRENT_LIST_DIR}/datasource_fuzz.cpp
                   DEPS quillon_datasource)
