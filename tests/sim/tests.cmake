# velko-sim's tests run the real runner, and test its option parsing and trace lines directly.
if(TARGET velko_sim_tests)
  # The damaged-files runs and the circuit drives start from the generated game files, and
  # from the circuits the build imported.
  add_dependencies(velko_sim_tests velko-sim velko_assets)
  if(TARGET velko_levels)
    add_dependencies(velko_sim_tests velko_levels)
  endif()
  list(JOIN VELKO_DATA_FILES " " data_files)
  target_compile_definitions(velko_sim_tests PRIVATE VELKO_DATA_FILES="${data_files}")
endif()

# The kept demos (tests/demos/) still play on the generated data: a change to the data files
# that would make them stale says so here, before the cross-build replays.
file(GLOB kept_demos CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/demos/*.vdm)
foreach(demo IN LISTS kept_demos)
  get_filename_component(name ${demo} NAME_WE)
  add_test(NAME kept_demo_${name} COMMAND velko-sim ${CMAKE_BINARY_DIR} --demo ${demo})
endforeach()
