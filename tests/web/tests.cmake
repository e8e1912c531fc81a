# The browser's key table is plain C++: its test compiles it natively beside the SDL table it
# is compared with.
if(TARGET velko_web_tests)
  target_sources(velko_web_tests PRIVATE ${CMAKE_SOURCE_DIR}/src/platform/web/web_keys.cpp)
  target_link_libraries(velko_web_tests PRIVATE velko_sdl)
endif()
