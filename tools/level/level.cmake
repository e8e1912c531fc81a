# velko-level, the circuit tool (Tiled maps in and out), and the circuits under levels/ it
# imports into the build. A native tool: the cross and web builds skip it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VELKO_LEVEL_DEPS REQUIRED IMPORTED_TARGET pugixml libzstd libpng zlib)
find_package(nlohmann_json 3 REQUIRED)

velko_sources(level_tool_sources ${CMAKE_SOURCE_DIR}/tools/level)
add_library(velko_level STATIC ${level_tool_sources})
target_include_directories(velko_level PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(velko_level PUBLIC velko_services PkgConfig::VELKO_LEVEL_DEPS
                                         nlohmann_json::nlohmann_json)
add_executable(velko-level ${CMAKE_SOURCE_DIR}/tools/level/main.cpp)
target_link_libraries(velko-level PRIVATE velko_level)

# The circuits of levels/, imported into build/levels/NAME/ (level.map and level.bpb). Each map
# names the tileset velko-tiles.tsx beside it: the generator writes it into build/levels/, where
# the maps are copied before the import.
if(TARGET velko-assetgen)
  set(circuits_dir ${CMAKE_BINARY_DIR}/levels)
  set(circuit_tileset ${circuits_dir}/velko-tiles.tsx ${circuits_dir}/velko-tiles.png)
  add_custom_command(OUTPUT ${circuit_tileset}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${circuits_dir}
    COMMAND velko-assetgen --tileset ${circuits_dir}
    # The generator leaves intact files alone: mark them made now.
    COMMAND ${CMAKE_COMMAND} -E touch ${circuit_tileset}
    DEPENDS velko-assetgen
    COMMENT "Writing the circuits' tileset")
  set(circuit_outputs)
  foreach(name IN LISTS VELKO_CIRCUITS)
    set(map ${CMAKE_SOURCE_DIR}/levels/${name}.tmx)
    set(out ${circuits_dir}/${name})
    add_custom_command(OUTPUT ${out}/level.map ${out}/level.bpb
      COMMAND ${CMAKE_COMMAND} -E copy ${map} ${circuits_dir}/${name}.tmx
      COMMAND velko-level import ${circuits_dir}/${name}.tmx ${out}
      DEPENDS ${map} velko-level ${circuit_tileset}
      COMMENT "Importing the circuit ${name}")
    list(APPEND circuit_outputs ${out}/level.map ${out}/level.bpb)
  endforeach()
  add_custom_target(velko_levels ALL DEPENDS ${circuit_outputs})
endif()
