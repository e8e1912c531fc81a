# Tests of the Windows build that need a display: the backend's own tests, and velko.exe played
# end to end. Each runs on a virtual X display of its own, in a Wine prefix of its own kept
# apart from the unit tests' (a Wine server stays bound to the display it started on).
if(TARGET velko_win32_tests AND CMAKE_CROSSCOMPILING)
  set(wine_display_environment WINEPREFIX=${CMAKE_BINARY_DIR}/wine-display WINEDEBUG=-all
      "WINEDLLOVERRIDES=mscoree,mshtml=")
  set_target_properties(velko_win32_tests PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;${wine_display_environment};bash;${CMAKE_CURRENT_LIST_DIR}/wine_xvfb.sh")
endif()

# velko.exe end to end: played in a window; in full screen inside a Wine desktop, quitting, or
# switching away and back; refused a mode the display does not have; and the desktop's mode
# back after a crash in full screen. Skipped (77) only where Xvfb,
# xdotool or Wine is missing.
if(TARGET velko-win32 AND CMAKE_CROSSCOMPILING)
  # The player's click on the game's taskbar button, for the switch-away run.
  add_executable(velko_taskbar_click ${CMAKE_CURRENT_LIST_DIR}/taskbar_click.cpp)
  # A program that takes the full screen through the backend and crashes, for the crash run.
  add_executable(velko_crash_probe ${CMAKE_CURRENT_LIST_DIR}/crash_probe.cpp)
  target_link_libraries(velko_crash_probe PRIVATE velko_win32)
  foreach(scenario windowed fullscreen switch-away refused crash record level)
    add_test(NAME wine_e2e_${scenario}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/wine_e2e.sh $<TARGET_FILE:velko-win32>
        ${CMAKE_BINARY_DIR} ${scenario})
    set_tests_properties(wine_e2e_${scenario} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-display;VELKO_NATIVE_BUILD=${CMAKE_SOURCE_DIR}/build"
      SKIP_RETURN_CODE 77 TIMEOUT 240 RUN_SERIAL TRUE)
  endforeach()
endif()
