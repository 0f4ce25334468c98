# Brindlow.lv2 in the build directory: the DSP binary (brindlow_dsp and the LV2 adapter,
# no editor, no window system), the UI binary (the editor panel and the UI adapter, no
# DSP) and the Turtle files the generator in tools/lv2-turtle writes from the product's
# own definitions. Linux only.
if(WIN32 OR NOT TARGET iplug_lv2)
  return()
endif()
set(BRINDLOW_LV2_BUNDLE ${BRINDLOW_OUTPUT_DIR}/Brindlow.lv2)

# The bundle's description: URIs, port symbols, binaries.
add_library(brindlow_lv2_info STATIC ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowLV2Info.cpp)
target_include_directories(brindlow_lv2_info PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/iplug/lv2)
target_link_libraries(brindlow_lv2_info PUBLIC brindlow_info)

# The mono-check view's read-out ports: the DSP's side, and the UI's view on them.
add_library(brindlow_lv2_readouts STATIC ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowLV2Readouts.cpp)
target_link_libraries(brindlow_lv2_readouts PUBLIC brindlow_dsp brindlow_lv2_info iplug_lv2)
# (The UI's links no toolkit: the binary brings brindlow_editor, whose artwork it carries once.)
add_library(brindlow_lv2_monocheck STATIC ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowLV2MonoCheck.cpp)
target_link_libraries(brindlow_lv2_monocheck PUBLIC brindlow_lv2_info iplug_lv2_ui)

# The two binaries of the bundle, one export each (lv2_descriptor, lv2ui_descriptor).
brindlow_add_plugin_module(TARGET BrindlowLV2
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowLV2Main.cpp
  LIBRARIES brindlow_lv2_readouts brindlow_dsp brindlow_lv2_info iplug_lv2
  EXPORTS ${CMAKE_CURRENT_LIST_DIR}/BrindlowLV2
  OUTPUT_NAME brindlow-lv2
  OUTPUT_DIRECTORY ${BRINDLOW_LV2_BUNDLE})
brindlow_add_plugin_module(TARGET BrindlowLV2UI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowLV2UIMain.cpp
  LIBRARIES brindlow_lv2_monocheck brindlow_editor brindlow_lv2_info iplug_lv2_ui
  EXPORTS ${CMAKE_CURRENT_LIST_DIR}/BrindlowLV2UI
  OUTPUT_NAME brindlow-lv2-ui
  OUTPUT_DIRECTORY ${BRINDLOW_LV2_BUNDLE})

add_subdirectory(${PROJECT_SOURCE_DIR}/tools/lv2-turtle ${CMAKE_BINARY_DIR}/tools/lv2-turtle)
# Global: the Debian package installs them (cmake/BrindlowPackaging.cmake).
set(BRINDLOW_LV2_TURTLE
  ${BRINDLOW_LV2_BUNDLE}/manifest.ttl
  ${BRINDLOW_LV2_BUNDLE}/brindlow.ttl
  ${BRINDLOW_LV2_BUNDLE}/presets.ttl CACHE INTERNAL "The Turtle files of Brindlow.lv2")
add_custom_command(OUTPUT ${BRINDLOW_LV2_TURTLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRINDLOW_LV2_BUNDLE}
  COMMAND lv2-turtle ${BRINDLOW_LV2_BUNDLE}
  DEPENDS lv2-turtle
  COMMENT "Writing the Turtle files of Brindlow.lv2")
add_custom_target(BrindlowLV2Turtle ALL DEPENDS ${BRINDLOW_LV2_TURTLE})
# The bundle as a whole, for tests and tools that load it. lv2-path/ holds nothing but
# a link to it: the LV2_PATH under which hosts in the tests see this bundle alone (the
# build directory itself holds many directories that are no bundles).
set(BRINDLOW_LV2_PATH ${BRINDLOW_OUTPUT_DIR}/lv2-path CACHE INTERNAL "LV2_PATH holding only the built bundle")
add_custom_command(OUTPUT ${BRINDLOW_LV2_PATH}/Brindlow.lv2
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRINDLOW_LV2_PATH}
  COMMAND ${CMAKE_COMMAND} -E create_symlink ../Brindlow.lv2 ${BRINDLOW_LV2_PATH}/Brindlow.lv2
  COMMENT "Linking lv2-path/Brindlow.lv2")
add_custom_target(BrindlowLV2Bundle ALL
  DEPENDS BrindlowLV2 BrindlowLV2UI BrindlowLV2Turtle ${BRINDLOW_LV2_PATH}/Brindlow.lv2)
