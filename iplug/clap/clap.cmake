# CLAP: the entry calls and factories, the clap_plugin and its extensions.
add_library(iplug_clap STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IPlugCLAP.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugCLAPEntry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugCLAPExtensions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugCLAPGui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugCLAPState.cpp
)
target_include_directories(iplug_clap PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(iplug_clap PUBLIC iplug)
