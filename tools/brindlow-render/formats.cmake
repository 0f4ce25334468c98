# The plug-in formats brindlow-render hosts besides VST 2.4: LV2 through lilv (when its
# development files are installed: the test set has them, the demo's build set need not),
# CLAP through the project's own header, VST 3 through the project's VST 3 host kit.
pkg_check_modules(LILV IMPORTED_TARGET lilv-0)
if(LILV_FOUND)
  target_sources(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Lv2PluginHost.cpp)
  target_link_libraries(brindlow_render_core PUBLIC PkgConfig::LILV)
  target_compile_definitions(brindlow_render_core PUBLIC BRINDLOW_RENDER_LV2=1)
endif()
target_sources(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ClapPluginHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vst3PluginHost.cpp)
target_link_libraries(brindlow_render_core PUBLIC vst3_hostkit)
