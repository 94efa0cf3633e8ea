# Editing a 10,000-paragraph page: one typed character, one undo step, the memory of 1,000 steps.
orvo_benchmark(editing ${CMAKE_CURRENT_LIST_DIR}/editing_bench.cpp DEPENDS orvo_textbox)
