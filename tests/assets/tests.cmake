# The asset tests exercise the generator's own code: compile it into their program (all but
# its main).
if(TARGET velko_assets_tests)
  file(GLOB assetgen_test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/assetgen/*.cpp)
  list(FILTER assetgen_test_sources EXCLUDE REGEX ".*/tools/assetgen/main\\.cpp$")
  target_sources(velko_assets_tests PRIVATE ${assetgen_test_sources})
  target_include_directories(velko_assets_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools)
endif()
