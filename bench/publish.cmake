# Republishing one changed page of a 1,000-page site through pyftpdlib on loopback, against
# lftp's mirror -R with and without --ignore-time in the same run (lftp is installed by hand;
# without it only our side runs).
orvo_benchmark(publish ${CMAKE_CURRENT_LIST_DIR}/publish_bench.cpp DEPENDS orvo_publish)
target_compile_definitions(bench_publish PRIVATE
    ORVO_FTP_SERVER_SCRIPT="${CMAKE_SOURCE_DIR}/tests/publish/ftp_server.py")
