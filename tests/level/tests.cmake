# The level tool's tests link its library and start the tool itself; Tiled-written fixtures
# need `tiled`, skipped where it is missing.
if(TARGET velko_level_tests)
  target_link_libraries(velko_level_tests PRIVATE velko_level)
  target_compile_definitions(velko_level_tests PRIVATE
    VELKO_LEVEL_TOOL="$<TARGET_FILE:velko-level>" VELKO_ASSETGEN="$<TARGET_FILE:velko-assetgen>")
  add_dependencies(velko_level_tests velko-level velko-assetgen)
endif()

# Each imported circuit passes the tool's own check, and is drawn with the very tiles the
# generator paints for the game's own circuit (driven in tests/sim/circuit_drive_test.cpp).
if(TARGET velko_levels)
  foreach(circuit ville rapide)
    add_test(NAME level_${circuit}_check
      COMMAND velko-level check ${CMAKE_BINARY_DIR}/levels/${circuit})
    add_test(NAME level_${circuit}_game_tiles
      COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_BINARY_DIR}/levels/${circuit}/level.bpb
        ${CMAKE_BINARY_DIR}/level.bpb)
  endforeach()
endif()
