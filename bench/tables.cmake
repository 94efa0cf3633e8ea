# Tables: placing a 255 x 50 table with a word in every cell, and typing one character into
# one of its cells.
orvo_benchmark(tables ${CMAKE_CURRENT_LIST_DIR}/tables_bench.cpp DEPENDS orvo_objects)
