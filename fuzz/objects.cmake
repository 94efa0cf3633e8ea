# An image record and zone clipboard data from elsewhere: the image's view, its zones and its HTML.
orvo_fuzz_target(image_object ${CMAKE_CURRENT_LIST_DIR}/image_object.cpp DEPENDS orvo_convert
                 orvo_objects)
