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
