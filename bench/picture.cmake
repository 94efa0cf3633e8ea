# Decoding and encoding pictures of 1000 × 1000 pixels.
orvo_benchmark(picture ${CMAKE_CURRENT_LIST_DIR}/picture_bench.cpp DEPENDS orvo_picture)
