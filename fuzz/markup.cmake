# The rich-text markup reader, the character reference decoder and the legacy text conversion.
orvo_fuzz_target(markup ${CMAKE_CURRENT_LIST_DIR}/markup.cpp DEPENDS orvo_model)
