# --mono-check and --plot: impulse response analysed with FFTW's transform, the plot drawn with the
# raster library and the FreeType text back-end and written as a PNG.
include(${PROJECT_SOURCE_DIR}/igraphics/text/text_freetype.cmake)
pkg_check_modules(FFTW3 REQUIRED IMPORTED_TARGET GLOBAL fftw3)
target_sources(brindlow_render_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MonoCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonoCheckReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonoCheckCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FoldDown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ResponsePlot.cpp)
target_link_libraries(brindlow_render_core PUBLIC brindlow_monoresponse PkgConfig::FFTW3 lice brindlow_text brindlow_png)
