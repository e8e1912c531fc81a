# The SDL screen under a virtual X display: windowed and full screen, frames presented and read
# back, once through each way of showing frames. Skipped (77) where xvfb-run is missing.
if(TARGET velko_sdl_tests)
  foreach(path surface renderer)
    add_test(NAME sdl_screen_xvfb_${path}
      COMMAND bash -c "command -v xvfb-run >/dev/null || exit 77; exec xvfb-run -a -s '-screen 0 1024x768x24' \"$0\" --gtest_filter='SdlScreenTest.*:SdlPadTest.*'"
              $<TARGET_FILE:velko_sdl_tests>)
    set_tests_properties(sdl_screen_xvfb_${path} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
      ENVIRONMENT "VELKO_PRESENT=${path}")
  endforeach()
endif()
