# Brindlow.vst3's resources, made with the tools once they exist: moduleinfo.json read
# from the built module's factory, and the editor snapshot painted by brindlow-render.
# Included by tools/CMakeLists.txt after brindlow-render.
if(TARGET BrindlowVST3)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/bundle_resources.stamp)
  set(render "")
  if(TARGET brindlow-render)
    set(render $<TARGET_FILE:brindlow-render>)
  endif()
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMODULEINFO=$<TARGET_FILE:vst3-moduleinfo> -DRENDER=${render}
      -DMODULE=$<TARGET_FILE:BrindlowVST3> -DBUNDLE=${BRINDLOW_VST3_BUNDLE}
      -P ${CMAKE_CURRENT_LIST_DIR}/bundle_resources.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS BrindlowVST3 vst3-moduleinfo $<$<TARGET_EXISTS:brindlow-render>:brindlow-render>
      ${CMAKE_CURRENT_LIST_DIR}/bundle_resources.cmake
    COMMENT "Brindlow.vst3: moduleinfo.json and the editor snapshot")
  add_custom_target(BrindlowVST3Bundle ALL DEPENDS ${stamp})
endif()
