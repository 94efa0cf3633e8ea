# The settings file store (one write, a batch, reads) and applying a localisation block.
orvo_benchmark(settings ${CMAKE_CURRENT_LIST_DIR}/settings_bench.cpp DEPENDS orvo_app)
