# SDL stays behind the platform seam: only src/platform/sdl/ (and the SDL platform's own
# tests) may include it.
add_test(NAME sdl_stays_in_its_folder
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/sdl_confined.sh ${CMAKE_SOURCE_DIR})

if(TARGET velko)
  add_test(NAME velko_without_display_reports_and_exits_zero
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/no_display.sh $<TARGET_FILE:velko>)
endif()
