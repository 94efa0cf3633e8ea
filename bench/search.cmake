# A word searched across a generated 5,000-page hypertext beside grep -c on the same pages'
# text export, and a word replaced on every page.
orvo_benchmark(search ${CMAKE_CURRENT_LIST_DIR}/search_bench.cpp DEPENDS orvo_search)
