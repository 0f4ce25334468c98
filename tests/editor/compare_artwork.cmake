# Script mode: draws the artwork into OUT_DIR with GENERATOR and compares every picture
# with the committed one in IMG_DIR.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${GENERATOR} ${OUT_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make-artwork failed: ${rc}")
endif()
foreach(name kyvBrindlow.png switch.png knob.png splash.png)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT_DIR}/${name} ${IMG_DIR}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from what make-artwork draws: run make-artwork ${IMG_DIR}")
  endif()
endforeach()
