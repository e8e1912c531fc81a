# velko-sim's tests run the real runner, and test its option parsing and trace lines directly.
if(TARGET velko_sim_tests)
  # The damaged-files runs start from the generated game files.
  add_dependencies(velko_sim_tests velko-sim velko_assets)
endif()
