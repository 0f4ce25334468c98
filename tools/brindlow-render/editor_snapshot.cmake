# --editor-snapshot: Brindlow's editor painted in this process (from the plug-in library,
# artwork included) and written as a PNG.
target_sources(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EditorSnapshot.cpp)
target_link_libraries(brindlow_render_core PUBLIC brindlow_plugin iplug_vst2 brindlow_png)
