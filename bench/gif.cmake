# GIF decoding, Quillon beside giflib on the same files (made by giflib's encoder at start).
find_package(GIF)
if(GIF_FOUND AND TARGET quillon_html_image)
  add_executable(bench_gif ${CMAKE_CURRENT_SOURCE_DIR}/gif_bench.cpp)
  target_link_libraries(bench_gif PRIVATE quillon_html_image benchmark::benchmark GIF::GIF)
endif()
