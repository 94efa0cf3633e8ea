# Reading and writing a 10 MB page text of markup with the headless measurer.
orvo_benchmark(markup ${CMAKE_CURRENT_LIST_DIR}/markup.cpp DEPENDS orvo_model)
