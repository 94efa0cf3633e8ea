# The user dictionary file, and Windows-1252 buffers verified word by word.
orvo_fuzz_target(user_dictionary ${CMAKE_CURRENT_LIST_DIR}/user_dictionary.cpp DEPENDS orvo_spell)
