# The document file: reading (warm) and saving a 5,000-page, 50 MB hypertext, against cp + sync.
orvo_benchmark(kyt ${CMAKE_CURRENT_LIST_DIR}/kyt_bench.cpp DEPENDS orvo_model)
