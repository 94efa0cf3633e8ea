# The document file reader and the object stream reader.
orvo_fuzz_target(kyt_reader ${CMAKE_CURRENT_LIST_DIR}/kyt_reader.cpp DEPENDS orvo_model)
orvo_fuzz_target(kyt_object_stream ${CMAKE_CURRENT_LIST_DIR}/kyt_object_stream.cpp DEPENDS orvo_model)
