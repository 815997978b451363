# CSS tokenizer, style sheet and selector parsers on arbitrary bytes.
quillon_add_fuzzer(fuzz_css ${CMAKE_CURRENT_LIST_DIR}/css_fuzz.cpp
                   DEPS quillon_html_style quillon_platform_core)
