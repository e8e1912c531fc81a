# The libFuzzer targets, one per file the game reads: clang only (-DVELKO_FUZZ=ON, see
# scripts/fuzz.sh). Each links the same entry code as the replay test of tests/fuzz/.
if(VELKO_FUZZ)
  foreach(target IN ITEMS bmp wav settings levelmap package)
    add_executable(velko_fuzz_${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_target.cpp
                                        ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_entries_support.cpp)
    target_include_directories(velko_fuzz_${target} PRIVATE ${CMAKE_SOURCE_DIR}/src
                                                            ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(velko_fuzz_${target} PRIVATE VELKO_FUZZ_TARGET="${target}")
    target_link_libraries(velko_fuzz_${target} PRIVATE velko_data)
    target_link_options(velko_fuzz_${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
