quillon_add_fuzzer(fuzz_template_editor ${CMAKE_CURRENT_SOURCE_DIR}/template_editor_fuzz.cpp
                   DEPS quillon_design quillon_platform_core)
