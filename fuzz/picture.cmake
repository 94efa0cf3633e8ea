# Picture readers: GIF, JPEG, BMP, and any picture recognised by its first bytes.
orvo_fuzz_target(gif_decode ${CMAKE_CURRENT_LIST_DIR}/gif_decode.cpp DEPENDS orvo_picture)
orvo_fuzz_target(jpeg_decode ${CMAKE_CURRENT_LIST_DIR}/jpeg_decode.cpp DEPENDS orvo_picture)
orvo_fuzz_target(bmp_decode ${CMAKE_CURRENT_LIST_DIR}/bmp_decode.cpp DEPENDS orvo_picture)
orvo_fuzz_target(picture_decode ${CMAKE_CURRENT_LIST_DIR}/picture_decode.cpp DEPENDS orvo_picture)
