# The INI reader of the project files under libFuzzer. The reader's source is compiled into the
# target itself so that libFuzzer sees its branches; the rest of the library is not needed.
qt_add_executable(fuzz_ini
    ${CMAKE_CURRENT_LIST_DIR}/fuzz_ini.cpp
    ${CMAKE_SOURCE_DIR}/project/ccfgdata.cpp
)
target_include_directories(fuzz_ini PRIVATE ${CMAKE_SOURCE_DIR}/project)
target_compile_options(fuzz_ini PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
target_link_options(fuzz_ini PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_ini PRIVATE Qt6::Core)
