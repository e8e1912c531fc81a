# velko-sim's tests run the real runner, and test its option parsing and trace lines directly.
if(TARGET velko_sim_tests)
  # The damaged-files runs start from the generated game files.
  add_dependencies(velko_sim_tests velko-sim velko_assets)
  target_sources(velko_sim_tests PRIVATE
    ${CMAKE_SOURCE_DIR}/tools/velko_sim/sim_options.cpp
    ${CMAKE_SOURCE_DIR}/tools/velko_sim/sim_keys.cpp
    ${CMAKE_SOURCE_DIR}/tools/velko_sim/trace_writer.cpp)
  target_include_directories(velko_sim_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools)
endif()
