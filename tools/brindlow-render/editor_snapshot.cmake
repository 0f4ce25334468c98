# --editor-snapshot: Brindlow's editor painted in this process (from the plug-in library,
# artwork included) and written as a PNG.
find_package(PNG REQUIRED)
target_sources(brindlow_render_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/EditorSnapshot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../make-artwork/png_write.cpp)
target_include_directories(brindlow_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../make-artwork)
target_link_libraries(brindlow_render_core PUBLIC brindlow_plugin PNG::PNG)
