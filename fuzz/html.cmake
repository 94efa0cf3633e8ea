# The marker comment of an exported page read back, and page texts written as HTML.
orvo_fuzz_target(html_page_marker ${CMAKE_CURRENT_LIST_DIR}/html_page_marker.cpp DEPENDS orvo_convert)
# The web-page import of any bytes, with and without the preview's limit.
orvo_fuzz_target(html_import ${CMAKE_CURRENT_LIST_DIR}/html_import.cpp DEPENDS orvo_convert)
