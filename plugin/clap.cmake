# Brindlow.clap: the CLAP module, linked like Brindlow.so / Brindlow.dll; the data symbol
# clap_entry is its only export.
brindlow_add_plugin_module(TARGET BrindlowClap
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowClap.cpp
  LIBRARIES brindlow_plugin iplug_clap
  EXPORTS ${CMAKE_CURRENT_LIST_DIR}/BrindlowClap
  OUTPUT_NAME Brindlow
  SUFFIX .clap)
