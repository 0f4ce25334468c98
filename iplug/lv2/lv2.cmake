# LV2: the DSP binary's adapter (iplug_lv2), the UI binary's adapter (iplug_lv2_ui, on
# the core's editor interface only: the product's editor brings the toolkit) and the bundle's Turtle writer (iplug_lv2_turtle, for the
# generator in tools/lv2-turtle). Linux only: the headers are Debian's lv2-dev.
if(WIN32)
  return()
endif()
find_package(PkgConfig REQUIRED)
pkg_check_modules(LV2 REQUIRED IMPORTED_TARGET GLOBAL lv2)

add_library(iplug_lv2 STATIC ${CMAKE_CURRENT_LIST_DIR}/IPlugLV2.cpp)
target_include_directories(iplug_lv2 PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(iplug_lv2 PUBLIC iplug PkgConfig::LV2)

add_library(iplug_lv2_turtle STATIC ${CMAKE_CURRENT_LIST_DIR}/IPlugLV2Turtle.cpp)
target_include_directories(iplug_lv2_turtle PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(iplug_lv2_turtle PUBLIC iplug)

add_library(iplug_lv2_ui STATIC ${CMAKE_CURRENT_LIST_DIR}/IPlugLV2UI.cpp)
target_include_directories(iplug_lv2_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(iplug_lv2_ui PUBLIC iplug PkgConfig::LV2)
