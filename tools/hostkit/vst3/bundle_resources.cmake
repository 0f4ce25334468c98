# Fills a VST 3 bundle's Contents/Resources from its built module: moduleinfo.json from
# the factory, and the editor's picture under the class id it lists.
#   cmake -DMODULEINFO=... -DRENDER=... -DMODULE=... -DBUNDLE=... -P bundle_resources.cmake
# (RENDER empty: no snapshot.)
execute_process(COMMAND ${MODULEINFO} --cid ${MODULE} OUTPUT_VARIABLE cid RESULT_VARIABLE failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed)
  message(FATAL_ERROR "cannot read the class id of ${MODULE}")
endif()
get_filename_component(name ${BUNDLE} NAME_WE)
set(resources ${BUNDLE}/Contents/Resources)
file(MAKE_DIRECTORY ${resources}/Snapshots)
set(snapshot_flag "")
if(RENDER)
  execute_process(COMMAND ${RENDER} --editor-snapshot ${resources}/Snapshots/${cid}_snapshot.png
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "brindlow-render could not paint the editor snapshot")
  endif()
  set(snapshot_flag --snapshot)
endif()
execute_process(COMMAND ${MODULEINFO} ${MODULE} ${name} ${resources}/moduleinfo.json ${snapshot_flag}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${resources}/moduleinfo.json")
endif()
