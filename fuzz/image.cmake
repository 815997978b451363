quillon_add_fuzzer(fuzz_image ${CMAKE_CURRENT_SOURCE_DIR}/image_fuzz.cpp
                   DEPS quillon_html_layout quillon_html_image quillon_platform_core)
