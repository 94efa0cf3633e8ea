# Frame-layout files and the frame maps stored in documents.
orvo_fuzz_target(frame_layout ${CMAKE_CURRENT_LIST_DIR}/frame_layout.cpp DEPENDS orvo_textbox)
