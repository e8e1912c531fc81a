# The asset tests exercise the generator's own code: compile it into their program (all but
# its main).
if(TARGET velko_assets_tests)
  file(GLOB assetgen_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/assetgen/*.cpp)
  list(FILTER assetgen_test_sources EXCLUDE REGEX ".*/tools/assetgen/main\\.cpp$")
  target_sources(velko_assets_tests PRIVATE ${assetgen_test_sources})
  target_include_directories(velko_assets_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools)
  # The build's own list of the data files, which the generator must write under those names.
  list(JOIN VELKO_DATA_FILES " " data_file_names)
  target_compile_definitions(velko_assets_tests PRIVATE VELKO_DATA_FILES="${data_file_names}")
endif()
