# Records and streams of form inputs, buttons, form starts, media and markers from a document
# of anyone, with a special link and a page's head code: the page written as HTML.
orvo_fuzz_target(form_objects ${CMAKE_CURRENT_LIST_DIR}/form_objects.cpp DEPENDS orvo_convert)
