# Text export of a generated 5,000-page hypertext into one file, and the import of a large text
# file as a page.
orvo_benchmark(text ${CMAKE_CURRENT_LIST_DIR}/text_bench.cpp DEPENDS orvo_convert)
