# The caret on a 10,000-paragraph page: a key moving it, from the event to its strip repainted,
# in the box alone and in the page widget offscreen (or under Xvfb with QT_QPA_PLATFORM=xcb).
if(TARGET orvo_ui_lang)
    orvo_benchmark(caret ${CMAKE_CURRENT_LIST_DIR}/caret_bench.cpp DEPENDS orvo_ui_lang)
endif()
