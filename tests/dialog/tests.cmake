# The real dialog under a virtual X display (skipped only when a tool is missing; a game that
# never shows its dialog fails). Timed by real key presses, it runs alone.
if(VELKO_WITH_SDL)
  add_test(NAME dialog_xvfb
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb_dialog_check.sh $<TARGET_FILE:velko>
            ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/dialog-screenshots)
  set_tests_properties(dialog_xvfb PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
endif()
