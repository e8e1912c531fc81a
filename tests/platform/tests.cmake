# The layers' include table holds over the whole tree (tools/check_layers.py), and the check
# catches each kind of breach planted in a scratch copy.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME layers_hold COMMAND Python3::Interpreter tools/check_layers.py
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  add_test(NAME layers_check_catches_breaches
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_layers_test.py ${CMAKE_SOURCE_DIR})
endif()

if(TARGET velko)
  add_test(NAME velko_command_line
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/command_line.sh $<TARGET_FILE:velko>)
  add_test(NAME velko_without_display_reports_and_exits_zero
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/no_display.sh $<TARGET_FILE:velko>)
endif()
