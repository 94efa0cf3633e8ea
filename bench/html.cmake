# Export of a generated 5,000-page hypertext to a folder on the document's filesystem.
orvo_benchmark(html_export ${CMAKE_CURRENT_LIST_DIR}/html_bench.cpp DEPENDS orvo_convert)
# Import of a 1,000-page site our exporter wrote and of one 10 MB page, beside pandoc.
orvo_benchmark(html_import ${CMAKE_CURRENT_LIST_DIR}/html_import_bench.cpp DEPENDS orvo_convert)
