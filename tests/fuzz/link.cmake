qt_add_executable(fuzz_linkreceive
    ${CMAKE_CURRENT_LIST_DIR}/fuzz_linkreceive.cpp
    ${CMAKE_SOURCE_DIR}/tests/link/faketransport.h
    ${CMAKE_SOURCE_DIR}/tests/support/scriptedprompter.cpp)
target_compile_options(fuzz_linkreceive PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_linkreceive PRIVATE -fsanitize=fuzzer,address,undefined)
target_include_directories(fuzz_linkreceive PRIVATE ${CMAKE_SOURCE_DIR}/tests/support ${CMAKE_SOURCE_DIR}/tests/link)
target_link_libraries(fuzz_linkreceive PRIVATE lumaro_link)
