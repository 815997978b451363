quillon_add_fuzzer(fuzz_gif ${CMAKE_CURRENT_SOURCE_DIR}/gif_fuzz.cpp
                   DEPS quillon_html_image quillon_platform_core)
