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

# The factory and the module calls alone leave the module (BrindlowVST3.map / .def).
brindlow_add_plugin_module(TARGET BrindlowVST3
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/KyvBrindlowVST3.cpp
  LIBRARIES brindlow_plugin iplug_vst3
  EXPORTS ${CMAKE_CURRENT_LIST_DIR}/BrindlowVST3
  OUTPUT_NAME Brindlow
  SUFFIX ${BRINDLOW_VST3_SUFFIX}
  OUTPUT_DIRECTORY ${BRINDLOW_VST3_MODULE_DIR})
if(WIN32)
  # GetPluginFactory is __stdcall on 32-bit Windows: exported without the @0 hosts do
  # not look for. The .def names it undecorated; the fix-up that binds the two is wanted,
  # so the linker need not warn of it.
  target_link_options(BrindlowVST3 PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
endif()
