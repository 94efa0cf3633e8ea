# Where objects of a document are used, and deleting them, over a document that may be hostile.
orvo_fuzz_target(where_used ${CMAKE_CURRENT_LIST_DIR}/where_used.cpp DEPENDS orvo_app)
