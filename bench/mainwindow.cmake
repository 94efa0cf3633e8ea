# The main window, offscreen: from openFile to the end of the page view's first paint.
if(TARGET orvo_ui_lang)
    orvo_benchmark(mainwindow ${CMAKE_CURRENT_LIST_DIR}/mainwindow_bench.cpp DEPENDS orvo_ui_lang)
endif()
