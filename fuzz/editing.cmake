# Edits driven by bytes on a page, with a selection stream of any content pasted first.
orvo_fuzz_target(edit_actions ${CMAKE_CURRENT_LIST_DIR}/edit_actions.cpp DEPENDS orvo_textbox)
