# The Haas delay engine and the output meter as a small static library, so the plug-in, the tests and
# the benchmarks all link the same code. Included by plugin/CMakeLists.txt (and by
# the engine tests when the plug-in folder is not built).
if(NOT TARGET brindlow_engine)
  add_library(brindlow_engine STATIC ${CMAKE_CURRENT_LIST_DIR}/HaasDelayLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutputCorrelationMeter.cpp)
  target_include_directories(brindlow_engine PUBLIC ${CMAKE_CURRENT_LIST_DIR})
endif()
