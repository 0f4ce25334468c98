# Brindlow.vst3: the VST 3 bundle. The module goes straight into its place in the bundle
# (Contents/<architecture>/); moduleinfo.json and the editor snapshot are added by the
# VST 3 host kit (tools/hostkit/vst3), which reads them from the built module.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(BRINDLOW_VST3_ARCH x86_64-win)
  else()
    set(BRINDLOW_VST3_ARCH x86-win)
  endif()
  set(BRINDLOW_VST3_SUFFIX ".vst3")
else()
  set(BRINDLOW_VST3_ARCH ${CMAKE_SYSTEM_PROCESSOR}-linux)
  set(BRINDLOW_VST3_SUFFIX ".so")
endif()
set(BRINDLOW_VST3_BUNDLE ${BRINDLOW_OUTPUT_DIR}/Brindlow.vst3 CACHE INTERNAL "the VST 3 bundle")
set(BRINDLOW_VST3_MODULE_DIR ${BRINDLOW_VST3_BUNDLE}/Contents/${BRINDLOW_VST3_ARCH})

add_library(BrindlowVST3 MODULE KyvBrindlowVST3.cpp)
target_link_libraries(BrindlowVST3 PRIVATE brindlow_plugin iplug_vst3)
set_target_properties(BrindlowVST3 PROPERTIES
  PREFIX ""
  OUTPUT_NAME Brindlow
  SUFFIX ${BRINDLOW_VST3_SUFFIX}
  LIBRARY_OUTPUT_DIRECTORY ${BRINDLOW_VST3_MODULE_DIR}
  RUNTIME_OUTPUT_DIRECTORY ${BRINDLOW_VST3_MODULE_DIR})

if(WIN32)
  # GetPluginFactory is __stdcall on 32-bit Windows: exported without the @0 hosts do
  # not look for.
  target_link_options(BrindlowVST3 PRIVATE -Wl,--kill-at)
else()
  # The factory and the module calls alone leave the module; the static libraries'
  # symbols stay inside.
  target_link_options(BrindlowVST3 PRIVATE
    -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/BrindlowVST3.map
    -Wl,--exclude-libs,ALL)
  if(NOT BRINDLOW_SANITIZE)
    # Hosts load it with dlopen(RTLD_NOW | RTLD_LOCAL): nothing may stay unresolved,
    # and the C++ runtime goes inside (see Brindlow in CMakeLists.txt).
    target_link_options(BrindlowVST3 PRIVATE -Wl,--no-undefined -static-libstdc++ -static-libgcc)
  endif()
  set_target_properties(BrindlowVST3 PROPERTIES LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/BrindlowVST3.map)
endif()
