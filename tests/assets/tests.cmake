if(TARGET velko_assets_tests)
  # The build's own list of the data files, which the generator must write under those names.
  list(JOIN VELKO_DATA_FILES " " data_file_names)
  target_compile_definitions(velko_assets_tests PRIVATE VELKO_DATA_FILES="${data_file_names}")
endif()
