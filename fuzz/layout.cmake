# A text box laying out, painting and hit-testing whatever markup a document holds.
orvo_fuzz_target(box_layout ${CMAKE_CURRENT_LIST_DIR}/box_layout.cpp DEPENDS orvo_textbox)
