# The where-used search of the deletion window over a 10,000-page hypertext, and how soon it
# stops when the window closes.
orvo_benchmark(album ${CMAKE_CURRENT_LIST_DIR}/album_bench.cpp DEPENDS orvo_app)
