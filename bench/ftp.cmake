# Upload and download of a 100 MB file on loopback through pyftpdlib, against curl on the same
# server in the same run (curl is installed by hand; without it only our side runs).
orvo_benchmark(ftp ${CMAKE_CURRENT_LIST_DIR}/ftp_bench.cpp DEPENDS orvo_publish)
target_compile_definitions(bench_ftp PRIVATE
    ORVO_FTP_SERVER_SCRIPT="${CMAKE_SOURCE_DIR}/tests/publish/ftp_server.py")
