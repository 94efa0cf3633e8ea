# The export of 1,000 pages that each hold a form and a popup link against text-only pages.
orvo_benchmark(forms ${CMAKE_CURRENT_LIST_DIR}/forms_bench.cpp DEPENDS orvo_convert)
