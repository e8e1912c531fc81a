# velko-shot-check: the end-to-end runs' checks of a screenshot, on the game's own BMP reader
# (tests/support/x_session.sh's expect_screenshot runs it; a cross build has it among its host
# tools).
add_executable(velko-shot-check ${CMAKE_CURRENT_LIST_DIR}/shot_check.cpp)
target_link_libraries(velko-shot-check PRIVATE velko_services)
