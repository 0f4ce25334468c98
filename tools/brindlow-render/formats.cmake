# The plug-in formats brindlow-render hosts besides VST 2.4: LV2 through lilv and the LV2
# host kit (when its
# development files are installed: the test set has them, the demo's build set need not),
# CLAP and VST 3 through the project's host kits.
pkg_check_modules(LILV IMPORTED_TARGET lilv-0)
if(LILV_FOUND)
  target_sources(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Lv2PluginHost.cpp)
  target_link_libraries(brindlow_render_core PUBLIC hostkit_lv2)
  target_compile_definitions(brindlow_render_core PUBLIC BRINDLOW_RENDER_LV2=1)
endif()
target_sources(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ClapPluginHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vst3PluginHost.cpp)
target_link_libraries(brindlow_render_core PUBLIC hostkit_clap hostkit_vst3)
