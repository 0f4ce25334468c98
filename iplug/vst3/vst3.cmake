# VST 3: the factory, the component that is also its controller, and the editor's view.
add_library(iplug_vst3 STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IPlugVST3.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugVST3Entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugVST3Params.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugVST3State.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IPlugVST3View.cpp
)
target_include_directories(iplug_vst3 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(iplug_vst3 PUBLIC iplug)
