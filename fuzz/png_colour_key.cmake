# The PNG chunk reader that finds a grey or RGB file's transparent colour (compiled in from
# the Qt image decoder's folder: it uses no Qt).
quillon_add_fuzzer(fuzz_png_colour_key ${CMAKE_CURRENT_LIST_DIR}/png_colour_key_fuzz.cpp
                   DEPS quillon_platform_core)
if(TARGET fuzz_png_colour_key)
  target_sources(fuzz_png_colour_key
                 PRIVATE ${PROJECT_SOURCE_DIR}/platform/qt/png_colour_key.cpp)
endif()
