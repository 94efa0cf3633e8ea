# The user dictionary file, and Windows-1252 buffers verified word by word. The target takes
# only the engine and the file reader of src/spell, not the page walks above them.
find_package(PkgConfig REQUIRED)
pkg_check_modules(FUZZ_HUNSPELL REQUIRED IMPORTED_TARGET hunspell)
orvo_fuzz_target(user_dictionary ${CMAKE_CURRENT_LIST_DIR}/user_dictionary.cpp
                 DEPENDS orvo_base PkgConfig::FUZZ_HUNSPELL)
target_sources(fuzz_user_dictionary PRIVATE ${CMAKE_SOURCE_DIR}/src/spell/HunspellEngine.cpp
               ${CMAKE_SOURCE_DIR}/src/spell/UserDictionary.cpp)
target_include_directories(fuzz_user_dictionary PRIVATE ${CMAKE_SOURCE_DIR}/src)
