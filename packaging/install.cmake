# The installed layout, as `cmake --install` lays it out under a prefix such as /usr: the game
# in games/, its data in share/games/velko/ (where it looks when the files are not beside
# it), and what the desktop needs: the menu entry, the car as icon, AppStream metadata, the
# manual page and the copyright. scripts/package.sh turns this tree into a .deb.
if(TARGET velko AND TARGET velko-assetgen)
  set(velko_linux_packaging ${CMAKE_CURRENT_LIST_DIR}/linux)
  set(velko_app_id invalid.velko.Velko)

  # Part of every build: cheap, and it keeps `cmake --install` working on any build folder.
  add_custom_target(velko_icons ALL
    COMMAND velko-assetgen --icons ${CMAKE_BINARY_DIR}/icons
    DEPENDS velko-assetgen
    COMMENT "Painting the car's icons")

  configure_file(${velko_linux_packaging}/velko.6.in ${CMAKE_BINARY_DIR}/packaging/velko.6 @ONLY)
  # The version scripts/package.sh checks the Debian changelog against.
  file(WRITE ${CMAKE_BINARY_DIR}/packaging/version "${PROJECT_VERSION}\n")

  install(TARGETS velko RUNTIME DESTINATION games)
  foreach(data_file IN LISTS VELKO_DATA_FILES)
    install(FILES ${CMAKE_BINARY_DIR}/${data_file} DESTINATION share/games/velko)
  endforeach()
  foreach(circuit IN LISTS VELKO_CIRCUITS)
    install(FILES ${CMAKE_BINARY_DIR}/levels/${circuit}/level.map
                  ${CMAKE_BINARY_DIR}/levels/${circuit}/level.bpb
            DESTINATION share/games/velko/levels/${circuit})
  endforeach()
  install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION share/icons/hicolor)
  install(FILES ${velko_linux_packaging}/${velko_app_id}.desktop DESTINATION share/applications)
  install(FILES ${velko_linux_packaging}/${velko_app_id}.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/velko.6 DESTINATION share/man/man6)
  install(FILES ${velko_linux_packaging}/copyright DESTINATION share/doc/velko)
endif()
