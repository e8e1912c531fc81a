# What the player reads (README.md, the manual page, the metainfo, the Windows zip's README.txt)
# holds the same statements. (The Debian package itself is tested by package_test.sh, which
# scripts/test.sh runs after the suite.)
if(NOT CMAKE_CROSSCOMPILING)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME player_docs_agree
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/player_docs_test.py ${CMAKE_SOURCE_DIR})
endif()
