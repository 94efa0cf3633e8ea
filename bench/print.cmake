# Printing the 5,000-page sample into one PDF file at 600 pixels per inch, and the same pages on
# the recording printer (layout and cutting into sheets without drawing).
if(TARGET orvo_ui_render)
    orvo_benchmark(print ${CMAKE_CURRENT_LIST_DIR}/print_bench.cpp DEPENDS orvo_ui_render)
endif()
