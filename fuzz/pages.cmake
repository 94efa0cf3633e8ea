# The stored page tree, and a page shown and committed whatever its stored text holds.
orvo_fuzz_target(tree_text ${CMAKE_CURRENT_LIST_DIR}/tree_text.cpp DEPENDS orvo_model)
orvo_fuzz_target(page_commit ${CMAKE_CURRENT_LIST_DIR}/page_commit.cpp DEPENDS orvo_textbox)
