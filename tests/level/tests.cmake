# The level tool's tests link its library and start the tool itself; Tiled-written fixtures
# need `tiled`, skipped where it is missing.
if(TARGET velko_level_tests)
  target_link_libraries(velko_level_tests PRIVATE velko_level)
  target_compile_definitions(velko_level_tests PRIVATE
    VELKO_LEVEL_TOOL="$<TARGET_FILE:velko-level>" VELKO_ASSETGEN="$<TARGET_FILE:velko-assetgen>")
  add_dependencies(velko_level_tests velko-level velko-assetgen)
endif()

# The circuits of levels/ under the game's driving rules: straight into the top barrier, into
# the cut corner of the first bend, and through that bend.
if(TARGET velko_levels AND TARGET velko-sim)
  foreach(circuit ville rapide)
    foreach(scenario top_wall half_tile_corner first_bend)
      add_test(NAME level_${circuit}_${scenario}
        COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/circuit_drive.sh $<TARGET_FILE:velko-sim>
          ${CMAKE_BINARY_DIR} ${circuit} ${scenario})
      set_tests_properties(level_${circuit}_${scenario} PROPERTIES TIMEOUT 150)
    endforeach()
  endforeach()
  # Each imported circuit passes the tool's own check, and is drawn with the very tiles the
  # generator paints for the game's own circuit.
  foreach(circuit ville rapide)
    add_test(NAME level_${circuit}_check
      COMMAND velko-level check ${CMAKE_BINARY_DIR}/levels/${circuit})
    add_test(NAME level_${circuit}_game_tiles
      COMMAND ${CMAKE_COMMAND} -E compare_files ${CMAKE_BINARY_DIR}/levels/${circuit}/level.bpb
        ${CMAKE_BINARY_DIR}/level.bpb)
  endforeach()
endif()
