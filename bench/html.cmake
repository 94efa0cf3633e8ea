# Export of a generated 5,000-page hypertext to a folder on the document's filesystem.
orvo_benchmark(html_export ${CMAKE_CURRENT_LIST_DIR}/html_bench.cpp DEPENDS orvo_convert)
