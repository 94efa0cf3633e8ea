# The window-feature record a separate-window link keeps in its content.
orvo_fuzz_target(window_features ${CMAKE_CURRENT_LIST_DIR}/window_features.cpp DEPENDS orvo_app)
