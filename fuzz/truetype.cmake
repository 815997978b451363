quillon_add_fuzzer(fuzz_truetype ${CMAKE_CURRENT_LIST_DIR}/truetype_fuzz.cpp
                   DEPS quillon_platform_pdf)
