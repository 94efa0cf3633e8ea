# The sample generator at benchmark sizes, the page tree's text, and a page shown and committed.
orvo_benchmark(pages ${CMAKE_CURRENT_LIST_DIR}/pages_bench.cpp DEPENDS orvo_textbox)
