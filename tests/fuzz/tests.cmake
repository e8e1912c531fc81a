# The libFuzzer targets, one per file the game reads: clang only (-DVELKO_FUZZ=ON, see
# scripts/fuzz.sh). They share their entries with the replay test of this folder.
if(VELKO_FUZZ)
  add_library(velko_fuzz_entries STATIC ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_entries_support.cpp
                                        ${CMAKE_SOURCE_DIR}/tests/fuzz/import_fuzz_support.cpp)
  target_include_directories(velko_fuzz_entries PUBLIC ${CMAKE_SOURCE_DIR}/src
                                                       ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(velko_fuzz_entries PUBLIC velko_game velko_headless velko_level)
  foreach(target IN ITEMS bmp wav settings levelmap package import demo)
    add_executable(velko_fuzz_${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_target.cpp)
    target_compile_definitions(velko_fuzz_${target} PRIVATE VELKO_FUZZ_TARGET="${target}")
    target_link_libraries(velko_fuzz_${target} PRIVATE velko_fuzz_entries)
    target_link_options(velko_fuzz_${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()

# The replay test reaches velko-level's import through its entry too.
if(TARGET velko_fuzz_tests)
  target_link_libraries(velko_fuzz_tests PRIVATE velko_level)
endif()
