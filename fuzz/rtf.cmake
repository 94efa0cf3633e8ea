# The RTF export of a markup text, as a page, a header, a fragment and a help topic.
orvo_fuzz_target(rtf_export ${CMAKE_CURRENT_LIST_DIR}/rtf_export.cpp DEPENDS orvo_convert)
# The RTF import of any bytes: one page, split pages with an index, help topics, pasted RTF.
orvo_fuzz_target(rtf_import ${CMAKE_CURRENT_LIST_DIR}/rtf_import.cpp DEPENDS orvo_convert)
