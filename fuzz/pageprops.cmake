# The custom-code panel reading code streams of a document (page head code, object code).
orvo_fuzz_target(custom_code ${CMAKE_CURRENT_LIST_DIR}/custom_code.cpp DEPENDS orvo_app)
