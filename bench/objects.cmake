# Pictures on the page: layout and painting of a page of 200 images, and the export of 1,000
# pages with 5 images each against the same pages without them.
orvo_benchmark(objects ${CMAKE_CURRENT_LIST_DIR}/objects_bench.cpp DEPENDS orvo_convert
               orvo_objects)
