# The Windows build, cross-compiled with MinGW-w64 (see mingw-w64-x86_64.cmake): the Win32
# backend and its velko.exe, the package players unzip, GoogleTest built from Debian's sources,
# and the tests run under Wine.


# Test areas whose programs run under the emulator; the others need the Linux tools (velko-sim,
# SDL, X) and stay in the native build.
set(VELKO_CROSS_TEST_AREAS assets data game platform services win32)

# The data files the asset generator writes beside the program.
set(asset_files ${VELKO_DATA_FILES})
list(TRANSFORM asset_files PREPEND ${CMAKE_BINARY_DIR}/)

if(CMAKE_CROSSCOMPILING)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(VELKO_WINE wine REQUIRED)
    # A prefix of the build's own; no .NET or HTML engine is needed (nor offered to install).
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine
        WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" ${VELKO_WINE})
  endif()
  set(VELKO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build for the target")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${VELKO_GTEST_SOURCE_DIR}/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Not our code: its warnings are not ours to fail on.
  target_compile_options(gtest PRIVATE -Wno-error)
  target_compile_options(gtest_main PRIVATE -Wno-error)

  # The asset generator and the circuit tool run here, so they are built for this machine: by a
  # native build named in VELKO_HOST_TOOLS, or else by the project itself, natively, without
  # SDL, tests or benchmarks. host-tools/ holds them either way (a link to the named build), and
  # its levels/ the circuits.
  set(VELKO_HOST_TOOLS "" CACHE PATH "A native build folder whose tools this build runs")
  set(host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(host_tool_targets velko-assetgen velko_levels velko-shot-check)
  if(VELKO_HOST_TOOLS)
    if(NOT IS_SYMLINK ${host_tools_dir})
      file(REMOVE_RECURSE ${host_tools_dir})
    endif()
    file(CREATE_LINK ${VELKO_HOST_TOOLS} ${host_tools_dir} SYMBOLIC)
    add_custom_target(velko_host_tools
      COMMAND ${CMAKE_COMMAND} --build ${VELKO_HOST_TOOLS} --target ${host_tool_targets})
  else()
    if(IS_SYMLINK ${host_tools_dir})
      file(REMOVE ${host_tools_dir})
    endif()
    include(ExternalProject)
    ExternalProject_Add(velko_host_tools
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${host_tools_dir}
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DVELKO_WITH_SDL=OFF -DVELKO_WITH_BENCH=OFF
                 -DVELKO_WITH_TESTS=OFF
      BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target ${host_tool_targets}
      INSTALL_COMMAND ""
      BUILD_ALWAYS TRUE)
  endif()
  add_custom_target(velko_assets ALL
    COMMAND ${host_tools_dir}/velko-assetgen ${CMAKE_BINARY_DIR}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/screenshots
    DEPENDS velko_host_tools
    BYPRODUCTS ${asset_files}
    COMMENT "Checking the game's data files")
  set(circuit_folders ${host_tools_dir}/levels)
endif()

# Short rows are copied in 16-byte blocks: msvcrt's copy is slower than the row itself.
target_compile_definitions(velko_services PRIVATE VELKO_ROWS_IN_BLOCKS)

# The backend; its entry is the program's own.
velko_sources(win32_sources src/platform/win32)
list(FILTER win32_sources EXCLUDE REGEX ".*/src/platform/win32/main\\.cpp$")
add_library(velko_win32 STATIC ${win32_sources})
target_link_libraries(velko_win32 PUBLIC velko_platform dwmapi winmm gdi32 user32)
target_compile_definitions(velko_win32 PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

# velko.exe: a windowed program (no console of its own).
add_executable(velko-win32 WIN32 src/platform/win32/main.cpp)
set_target_properties(velko-win32 PROPERTIES OUTPUT_NAME velko)
# The package carries no debugging symbols.
target_link_options(velko-win32 PRIVATE $<$<CONFIG:Release>:-s>)
target_link_libraries(velko-win32 PRIVATE velko_game velko_win32 shell32)

# velko-windows.zip: a folder "velko" with the program, its data files, an empty screenshots
# folder and how to play.
set(package_dir ${CMAKE_BINARY_DIR}/package/velko)
# The circuits that come with the game, each in levels\NAME\ (velko --level NAME).
set(circuit_copies)
foreach(circuit IN LISTS VELKO_CIRCUITS)
  list(APPEND circuit_copies
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/levels/${circuit}
    COMMAND ${CMAKE_COMMAND} -E copy ${circuit_folders}/${circuit}/level.map
      ${circuit_folders}/${circuit}/level.bpb ${package_dir}/levels/${circuit})
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/velko-windows.zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E make_directory ${package_dir}/screenshots
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velko-win32> ${asset_files}
    ${CMAKE_SOURCE_DIR}/docs/windows/README.txt ${package_dir}
  ${circuit_copies}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
    ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/velko-windows.zip --format=zip velko
  DEPENDS velko-win32 velko_assets ${asset_files} ${CMAKE_SOURCE_DIR}/docs/windows/README.txt
  COMMENT "Packing velko-windows.zip")
add_custom_target(velko_windows_zip ALL DEPENDS ${CMAKE_BINARY_DIR}/velko-windows.zip)

# The frame composition benchmark of velko_bench, run under Wine beside the native one: the same
# scene source, on the small runner the web build also uses in place of Google Benchmark.
add_executable(velko_frame_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/frame_bench.cpp)
target_include_directories(velko_frame_bench PRIVATE ${CMAKE_SOURCE_DIR}/bench/web)
target_link_libraries(velko_frame_bench PRIVATE velko_game velko_headless)
