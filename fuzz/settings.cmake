# The settings file, desktop entries and localisation blocks: text the program reads from disk.
orvo_fuzz_target(settings_file ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp DEPENDS orvo_platform)
orvo_fuzz_target(desktop_entry ${CMAKE_CURRENT_LIST_DIR}/desktop_entry.cpp DEPENDS orvo_platform)
orvo_fuzz_target(localization_block ${CMAKE_CURRENT_LIST_DIR}/localization_block.cpp
                 DEPENDS orvo_app)
