# Where the native build has MPFR, the game's sine and cosine are also compared with it on a
# spread sample; the Windows build checks the table of hard cases alone.
if(TARGET velko_mpfr AND TARGET velko_services_tests)
  target_link_libraries(velko_services_tests PRIVATE velko_mpfr)
  target_compile_definitions(velko_services_tests PRIVATE VELKO_WITH_MPFR)
endif()
