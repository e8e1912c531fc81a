# velko-level, the circuit tool (Tiled maps in and out), and the circuits under levels/ it
# imports into the build. A native tool: the cross and web builds skip it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VELKO_LEVEL_DEPS REQUIRED IMPORTED_TARGET pugixml libzstd libpng zlib)
find_package(nlohmann_json 3 REQUIRED)

file(GLOB level_tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/level/*.cpp)
list(FILTER level_tool_sources EXCLUDE REGEX ".*/tools/level/main\\.cpp$")
add_library(velko_level STATIC ${level_tool_sources})
target_include_directories(velko_level PUBLIC ${CMAKE_SOURCE_DIR}/tools ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(velko_level PUBLIC velko_services PkgConfig::VELKO_LEVEL_DEPS
                                         nlohmann_json::nlohmann_json)
add_executable(velko-level ${CMAKE_SOURCE_DIR}/tools/level/main.cpp)
target_link_libraries(velko-level PRIVATE velko_level)
