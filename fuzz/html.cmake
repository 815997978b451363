# HTML tokenizer and parser on arbitrary bytes.
quillon_add_fuzzer(fuzz_html ${CMAKE_CURRENT_LIST_DIR}/html_fuzz.cpp
                   DEPS quillon_html_tree quillon_html_dump quillon_html_layout quillon_html_parse quillon_platform_core)
