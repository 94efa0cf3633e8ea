# The main window's command flow: opening and saving through the controller, and the history.
orvo_benchmark(mainform ${CMAKE_CURRENT_LIST_DIR}/mainform_bench.cpp DEPENDS orvo_app)
