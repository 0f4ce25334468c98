# Brindlow.clap: the CLAP module, linked like Brindlow.so / Brindlow.dll.
add_library(BrindlowClap MODULE KyvBrindlowClap.cpp)
target_link_libraries(BrindlowClap PRIVATE brindlow_plugin iplug_clap)
set_target_properties(BrindlowClap PROPERTIES
  PREFIX ""
  OUTPUT_NAME Brindlow
  SUFFIX ".clap"
  LIBRARY_OUTPUT_DIRECTORY ${BRINDLOW_OUTPUT_DIR}
  RUNTIME_OUTPUT_DIRECTORY ${BRINDLOW_OUTPUT_DIR})

if(WIN32)
  # Exports the data symbol clap_entry under its own name.
  target_sources(BrindlowClap PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/BrindlowClap.def)
else()
  # clap_entry alone leaves the module; the static libraries' symbols stay inside.
  target_link_options(BrindlowClap PRIVATE
    -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/BrindlowClap.map
    -Wl,--exclude-libs,ALL)
  if(NOT BRINDLOW_SANITIZE)
    # Hosts load it with dlopen(RTLD_NOW | RTLD_LOCAL): nothing may stay unresolved,
    # and the C++ runtime goes inside (see Brindlow in CMakeLists.txt).
    target_link_options(BrindlowClap PRIVATE -Wl,--no-undefined -static-libstdc++ -static-libgcc)
  endif()
  set_target_properties(BrindlowClap PROPERTIES LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/BrindlowClap.map)
endif()
