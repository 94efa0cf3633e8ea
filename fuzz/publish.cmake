# The version page a server holds.
orvo_fuzz_target(version_page ${CMAKE_CURRENT_LIST_DIR}/version_page.cpp DEPENDS orvo_publish)
