# Script mode: draws the artwork into OUT_DIR with GENERATOR and compares the pixels of
# every picture (1x and 2x) with the committed one in IMG_DIR through COMPARE (compare-pictures).
# The PNG bytes themselves depend on the installed zlib and libpng and are not compared.
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
execute_process(COMMAND ${GENERATOR} --fast ${OUT_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make-artwork failed: ${rc}")
endif()
set(failed "")
foreach(name kyvBrindlow.png switch.png knob.png splash.png
             kyvBrindlow@2x.png switch@2x.png knob@2x.png splash@2x.png)
  execute_process(COMMAND ${COMPARE} ${IMG_DIR}/${name} ${OUT_DIR}/${name} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND failed ${name})
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed}: not what make-artwork draws (see above). If the change is meant, run make-artwork ${IMG_DIR}")
endif()
