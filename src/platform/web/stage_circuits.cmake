# Stages the circuits that come with the game for the page, each in OUT/NAME/: its level.map,
# and its level.bpb only where it differs from the game's own GAME_PICTURE. Run by the web
# build as a script:
#   cmake -DLEVELS=<native levels folder> -DCIRCUITS=a,b -DGAME_PICTURE=<level.bpb>
#         -DOUT=<folder> -DSTAMP=<file> -P stage_circuits.cmake
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
string(REPLACE "," ";" circuits "${CIRCUITS}")
foreach(circuit IN LISTS circuits)
  file(MAKE_DIRECTORY ${OUT}/${circuit})
  file(COPY_FILE ${LEVELS}/${circuit}/level.map ${OUT}/${circuit}/level.map)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${LEVELS}/${circuit}/level.bpb
    ${GAME_PICTURE} RESULT_VARIABLE differs)
  if(differs)
    file(COPY_FILE ${LEVELS}/${circuit}/level.bpb ${OUT}/${circuit}/level.bpb)
  endif()
endforeach()
file(TOUCH ${STAMP})
