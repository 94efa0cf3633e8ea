# A page of any markup (tables, images, place holders, huge fonts and spacing) printed on the
# recording printer: printing always ends, every sheet holds something.
orvo_fuzz_target(print_page ${CMAKE_CURRENT_LIST_DIR}/print_page.cpp DEPENDS orvo_textbox)
