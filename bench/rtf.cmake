# RTF export of a generated 5,000-page hypertext: one file, one file per page, the help variant.
orvo_benchmark(rtf_export ${CMAKE_CURRENT_LIST_DIR}/rtf_bench.cpp DEPENDS orvo_convert)
# RTF import of a 10 MB document, one page and split, beside pandoc on the same file.
orvo_benchmark(rtf_import ${CMAKE_CURRENT_LIST_DIR}/rtf_import_bench.cpp DEPENDS orvo_convert)
