# The Linux text back-end (FreeType + fontconfig) as its own small library, so the editor
# toolkit, the artwork generator and the tests can link it. Included once, from whichever
# folder needs it first.
include_guard(GLOBAL)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
add_library(brindlow_text STATIC ${CMAKE_CURRENT_LIST_DIR}/text_freetype.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_freetype_glyphs.cpp)
target_include_directories(brindlow_text PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(brindlow_text PUBLIC Freetype::Freetype Fontconfig::Fontconfig)
