# The layers' include rules: no backend below the game, no game below the services, no
# service below the platform interface, and each backend's system headers in its own folder.
add_test(NAME include_rules_hold
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/include_rules.sh ${CMAKE_SOURCE_DIR})

if(TARGET velko)
  add_test(NAME velko_command_line
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/command_line.sh $<TARGET_FILE:velko>)
  add_test(NAME velko_without_display_reports_and_exits_zero
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/no_display.sh $<TARGET_FILE:velko>)
endif()
