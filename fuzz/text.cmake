# Text files and clipboard text made into markup, and page texts written back as plain text.
orvo_fuzz_target(text_import ${CMAKE_CURRENT_LIST_DIR}/text_import.cpp DEPENDS orvo_convert)
