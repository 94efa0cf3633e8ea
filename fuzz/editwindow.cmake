# RTF from another program pasted into a page: the importer's markup as a selection stream.
orvo_fuzz_target(rtf_paste ${CMAKE_CURRENT_LIST_DIR}/rtf_paste.cpp DEPENDS orvo_app)
