# The real game under Xvfb, driven with xdotool: dialog, driving, a crash with its sound, a
# screenshot, Escape. Skipped (77) only where xvfb-run or xdotool is missing.
if(TARGET velko)
  add_test(NAME e2e_play_crash_screenshot_quit
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_run.sh $<TARGET_FILE:velko> ${CMAKE_BINARY_DIR})
  set_tests_properties(e2e_play_crash_screenshot_quit PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 200 RUN_SERIAL TRUE)
  # The same in the alternative colours: tiles and car from the packages, the car keyed on
  # (0, 127, 0).
  add_test(NAME e2e_play_alternative_colours
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_run.sh $<TARGET_FILE:velko> ${CMAKE_BINARY_DIR}
      alternative)
  set_tests_properties(e2e_play_alternative_colours PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 200 RUN_SERIAL TRUE)
  # A demo recorded by the real game, replayed by velko-sim and by velko --play to the same
  # trace.
  add_test(NAME e2e_demo_record_replay_play
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_run.sh $<TARGET_FILE:velko> ${CMAKE_BINARY_DIR} demo)
  set_tests_properties(e2e_demo_record_replay_play PROPERTIES
    SKIP_RETURN_CODE 77 TIMEOUT 240 RUN_SERIAL TRUE)
  # Each circuit that comes with the game, played with --level.
  foreach(circuit IN LISTS VELKO_CIRCUITS)
    add_test(NAME e2e_level_${circuit}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_run.sh $<TARGET_FILE:velko> ${CMAKE_BINARY_DIR}
        level:${circuit})
    set_tests_properties(e2e_level_${circuit} PROPERTIES
      SKIP_RETURN_CODE 77 TIMEOUT 200 RUN_SERIAL TRUE)
  endforeach()
endif()
