# The game as a web page, built with Emscripten (included from the top CMakeLists.txt, which
# has defined the game's libraries by then): index.html with its script, its WebAssembly and
# the five data files packaged beside them with the circuits that come with the game, in
# VELKO_WEB_SITE, with the icons, the web app manifest and the service worker that keeps the
# page offline. The data files and the icons are made by the native asset generator, whose path
# is given as VELKO_ASSETGEN; the circuits are imported by a native build, whose levels folder
# is given as VELKO_LEVELS_DIR; node (which Emscripten runs on) writes the manifest and the
# service worker.
set(VELKO_ASSETGEN "" CACHE FILEPATH "The native velko-assetgen that makes the data files")
set(VELKO_LEVELS_DIR "" CACHE PATH
  "The levels folder of a native build (its velko_levels target): the circuits for the page")
set(VELKO_WEB_SITE "${CMAKE_BINARY_DIR}/site" CACHE PATH "Where the page and its files go")
if(NOT VELKO_ASSETGEN)
  message(FATAL_ERROR "The web build needs -DVELKO_ASSETGEN=<native velko-assetgen>")
endif()
if(VELKO_CIRCUITS AND NOT VELKO_LEVELS_DIR)
  message(FATAL_ERROR "The web build needs -DVELKO_LEVELS_DIR=<native build>/levels "
    "(cmake --build <native build> --target velko_levels)")
endif()

set(web_dir ${CMAKE_SOURCE_DIR}/src/platform/web)
# Every library of the game gets these through the platform library: the fixes to Debian's
# libc++, and the WebAssembly features every current browser has. Saturating float-to-int
# conversions spare each conversion its range checks, and SIMD lets the copies vectorise: a
# frame composes in less than half the time of plain WebAssembly.
set(web_features -msimd128 -mnontrapping-fptoint -mbulk-memory -msign-ext)
target_compile_options(velko_platform PUBLIC "SHELL:-include ${web_dir}/libcxx_compat.h"
  ${web_features})
# Short rows are copied in 16-byte blocks: memory.copy costs a call into the engine each time.
target_compile_definitions(velko_services PRIVATE VELKO_ROWS_IN_BLOCKS)
set(web_data ${CMAKE_BINARY_DIR}/data)
set(web_assets ${VELKO_DATA_FILES})
list(TRANSFORM web_assets PREPEND ${web_data}/ OUTPUT_VARIABLE web_asset_paths)
add_custom_command(OUTPUT ${web_asset_paths}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${web_data}
  COMMAND ${VELKO_ASSETGEN} ${web_data}
  DEPENDS ${VELKO_ASSETGEN}
  COMMENT "Making the game's data files for the page")
# The circuits, under levels/NAME/ as the game looks for them: each one's level.map, and its
# level.bpb only where it is not the game's own (540 kB each, and the page must stay small);
# the page links the others to the game's level.bpb as it starts.
set(web_circuits_stamp ${web_data}/levels.stamp)
set(web_circuit_sources)
foreach(circuit IN LISTS VELKO_CIRCUITS)
  foreach(file level.map level.bpb)
    set(source ${VELKO_LEVELS_DIR}/${circuit}/${file})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "${source} is missing: build velko_levels in the native build first")
    endif()
    list(APPEND web_circuit_sources ${source})
  endforeach()
endforeach()
list(JOIN VELKO_CIRCUITS "," web_circuit_names)
add_custom_command(OUTPUT ${web_circuits_stamp}
  COMMAND ${CMAKE_COMMAND} -DLEVELS=${VELKO_LEVELS_DIR} -DCIRCUITS=${web_circuit_names}
    -DGAME_PICTURE=${web_data}/level.bpb -DOUT=${web_data}/levels -DSTAMP=${web_circuits_stamp}
    -P ${web_dir}/stage_circuits.cmake
  DEPENDS ${web_circuit_sources} ${web_data}/level.bpb ${web_dir}/stage_circuits.cmake
  COMMENT "Staging the circuits for the page"
  VERBATIM)
add_custom_target(velko_web_data DEPENDS ${web_asset_paths} ${web_circuits_stamp})
find_program(VELKO_NODE NAMES node nodejs REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# The functions Asyncify instruments: those on the way from main to a wait that yields to the
# browser (the dialog's event wait, a frame's presentation and pacing, a message box, the
# replay button). Calls through the game's and the platform's interfaces are indirect, so the
# whole way is named here; everything else runs uninstrumented at full speed. A function that
# is inlined away is simply not found. A new wait on the way (a platform call that sleeps, a
# pacing step) and every caller up to main must be added here: a function left out does not
# always fail loudly, it may run twice. A demo played back waits for its recorded time in the
# clock reading (PlaybackServices::MillisecondsNow), called from the frame and the loading; a
# demo refused shows its message box (CannotRun). The lambdas the entry and RunGame hand the
# game (the circuit asked for at loading, the frame observer, the demo header written when the
# dialog has ended) never wait, so std::function's calls need no instrumenting.
set(web_asyncify_only
  "main"
  "__main_void"
  "__original_main"
  "__main_argc_argv"
  "(anonymous namespace)::PlayOnce()"
  "velko::RunGame*"
  "velko::(anonymous namespace)::CannotRun*"
  "velko::Game::Run()"
  "velko::Game::StartAndLoad()"
  "velko::Game::Fatal*"
  "velko::ChooseDisplayMode*"
  "velko::FrameLoopRun*"
  "velko::(anonymous namespace)::RunFrame*"
  "velko::Services::EventWait()"
  "velko::Services::EventPoll()"
  "velko::Services::MessageShow*"
  "velko::Services::ScreenPresent()"
  "velko::WindowService::EventWait()"
  "velko::WindowService::EventPoll()"
  "velko::WindowService::TakeEvent(bool)"
  "velko::ScreenService::*Present*"
  "velko::FramePacer::*"
  "velko::PlaybackServices::*"
  "velko::platform::Platform::*"
  "velko::platform::WebPlatform::Sleep*"
  "velko::platform::WebPlatform::MessageBox*"
  "velko::platform::WebPlatform::PollEvent*"
  "velko::platform::WebPlatform::WaitEvent*"
  "velko::platform::WaitForReplay()"
  "velko::platform::(anonymous namespace)::WebWindow::Present*")
list(JOIN web_asyncify_only "\n" web_asyncify_text)
# Rewritten only when it changes; the page is linked again when it does.
file(WRITE ${CMAKE_BINARY_DIR}/asyncify_only.txt.in "${web_asyncify_text}\n")
configure_file(${CMAKE_BINARY_DIR}/asyncify_only.txt.in ${CMAKE_BINARY_DIR}/asyncify_only.txt
  COPYONLY)

# The backend as a library; the page's program is its entry alone.
velko_sources(web_sources ${web_dir})
add_library(velko_web STATIC ${web_sources})
target_link_libraries(velko_web PUBLIC velko_platform)
# The page's scripts, in this order: the clock first (the rest of the page reads it), then the
# page itself, then the parts that build on it.
set(web_scripts velko_clock.js velko_page.js velko_touch.js velko_pads.js velko_runs.js
  velko_offline.js)
list(TRANSFORM web_scripts PREPEND ${web_dir}/)
set(web_pre_js)
foreach(script IN LISTS web_scripts)
  list(APPEND web_pre_js "SHELL:--pre-js ${script}")
endforeach()
set(web_site_tool ${CMAKE_SOURCE_DIR}/tools/web/site_files.mjs)
set(web_worker ${web_dir}/service_worker.js)
set(web_link_inputs ${web_dir}/shell.html ${web_scripts} ${web_worker} ${web_site_tool}
  ${web_asset_paths} ${web_circuits_stamp} ${CMAKE_BINARY_DIR}/asyncify_only.txt)
add_executable(velko_page ${web_dir}/main.cpp)
target_link_libraries(velko_page PRIVATE velko_game velko_web)
add_dependencies(velko_page velko_web_data)
set_target_properties(velko_page PROPERTIES
  OUTPUT_NAME index
  SUFFIX .html
  RUNTIME_OUTPUT_DIRECTORY ${VELKO_WEB_SITE}
  LINK_DEPENDS "${web_link_inputs}")
set(web_preload)
foreach(asset IN LISTS web_assets)
  list(APPEND web_preload "SHELL:--preload-file ${web_data}/${asset}@/velko/${asset}")
endforeach()
if(VELKO_CIRCUITS)
  list(APPEND web_preload "SHELL:--preload-file ${web_data}/levels@/velko/levels")
endif()
target_link_options(velko_page PRIVATE
  ${web_features}
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432
  -sASYNCIFY=1
  -sASYNCIFY_STACK_SIZE=65536
  "-sASYNCIFY_ONLY=@${CMAKE_BINARY_DIR}/asyncify_only.txt"
  -sMINIFY_HTML=0
  # The data files packed with LZ4 (the level's tiles shrink by a third), unpacked as read.
  -sLZ4=1
  "SHELL:--shell-file ${web_dir}/shell.html"
  ${web_pre_js}
  ${web_preload})
# Beside the page: its icons, its manifest, and the service worker, whose cache is named after
# a hash of all the files, so that each build replaces the last one's.
add_custom_command(TARGET velko_page POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/icons
  COMMAND ${VELKO_ASSETGEN} --icons ${CMAKE_BINARY_DIR}/icons
  COMMAND ${VELKO_NODE} ${web_site_tool} ${VELKO_WEB_SITE} ${CMAKE_BINARY_DIR}/icons ${web_worker}
  VERBATIM)

# velko-sim for node: the same replays as the native and Windows builds, on the host's files.
set_target_properties(velko-sim PROPERTIES SUFFIX .js)
target_link_options(velko-sim PRIVATE ${web_features} -sENVIRONMENT=node -sNODERAWFS=1
  -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)

# The frame composition benchmark of velko_bench, for node beside the native run: the same
# scene source, on a small runner of our own that takes the place of Google Benchmark.
add_executable(velko_frame_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/frame_bench.cpp)
target_include_directories(velko_frame_bench PRIVATE ${CMAKE_SOURCE_DIR}/bench/web)
target_link_libraries(velko_frame_bench PRIVATE velko_game velko_headless)
target_link_options(velko_frame_bench PRIVATE ${web_features} -sENVIRONMENT=node
  -sALLOW_MEMORY_GROWTH=1)
