# FTP replies (line splitting and multi-line assembly, PASV, RETR and PWD texts) and listings.
orvo_fuzz_target(ftp_reply ${CMAKE_CURRENT_LIST_DIR}/ftp_reply.cpp DEPENDS orvo_publish)
orvo_fuzz_target(ftp_listing ${CMAKE_CURRENT_LIST_DIR}/ftp_listing.cpp DEPENDS orvo_publish)
