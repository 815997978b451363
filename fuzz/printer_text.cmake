quillon_add_fuzzer(fuzz_printer_text ${CMAKE_CURRENT_LIST_DIR}/printer_text_fuzz.cpp
                   DEPS quillon_engine)
