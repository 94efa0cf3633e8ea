# The main window's outside input: command lines, history entries, link records.
orvo_fuzz_target(main_window_input ${CMAKE_CURRENT_LIST_DIR}/main_window_input.cpp
                 DEPENDS orvo_app)
