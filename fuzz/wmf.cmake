# Metafiles: the bitmap read back out of a WMF.
orvo_fuzz_target(wmf_bitmap ${CMAKE_CURRENT_LIST_DIR}/wmf_bitmap.cpp DEPENDS orvo_picture)
