# brindlow_add_plugin_module: makes one plug-in module (a binary a host loads), linked the
# same way for every format.
#
#   brindlow_add_plugin_module(TARGET <target>
#     SOURCES <file>...             the module's entry file(s)
#     LIBRARIES <target>...         static libraries linked in (the product, the adapter)
#     EXPORTS <path without suffix> export list: <path>.map (version script) on Linux,
#                                   <path>.def on Windows; only its symbols leave the module
#     OUTPUT_NAME <name>            file name without prefix or suffix (e.g. Brindlow)
#     [SUFFIX <suffix>]             e.g. .clap; default the platform's (.so, .dll)
#     [OUTPUT_DIRECTORY <dir>])     default BRINDLOW_OUTPUT_DIR
#
# On Linux the static libraries' symbols stay inside (--exclude-libs,ALL). Outside the
# sanitizer builds (BRINDLOW_SANITIZED) nothing may stay unresolved (--no-undefined: a host
# loads with RTLD_NOW) and the C++ runtime and libgcc go inside, hidden like the rest, so a
# host built against another libstdc++ (older, newer, or none) can load the module. Under
# any sanitizer, AddressSanitizer/UndefinedBehaviorSanitizer and ThreadSanitizer alike, the
# module uses the process's shared runtime: the sanitizer runtimes load libstdc++.so and
# libgcc_s anyway and must see the module's operator new and delete (AddressSanitizer checks
# their pairing, ThreadSanitizer records them), which a static copy would bind inside the
# module; and clang leaves the sanitizer runtime's symbols to the executable, so
# --no-undefined cannot hold there.
# On Windows the mingw toolchain file links the runtime statically for every module.
function(brindlow_add_plugin_module)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "TARGET;EXPORTS;OUTPUT_NAME;SUFFIX;OUTPUT_DIRECTORY"
    "SOURCES;LIBRARIES")
  foreach(required TARGET SOURCES EXPORTS OUTPUT_NAME)
    if(NOT arg_${required})
      message(FATAL_ERROR "brindlow_add_plugin_module: ${required} not given")
    endif()
  endforeach()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "brindlow_add_plugin_module: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_OUTPUT_DIRECTORY)
    set(arg_OUTPUT_DIRECTORY ${BRINDLOW_OUTPUT_DIR})
  endif()

  add_library(${arg_TARGET} MODULE ${arg_SOURCES})
  target_link_libraries(${arg_TARGET} PRIVATE ${arg_LIBRARIES})
  set_target_properties(${arg_TARGET} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${arg_OUTPUT_NAME}
    LIBRARY_OUTPUT_DIRECTORY ${arg_OUTPUT_DIRECTORY}
    RUNTIME_OUTPUT_DIRECTORY ${arg_OUTPUT_DIRECTORY})
  if(arg_SUFFIX)
    set_target_properties(${arg_TARGET} PROPERTIES SUFFIX ${arg_SUFFIX})
  endif()

  if(WIN32)
    target_sources(${arg_TARGET} PRIVATE ${arg_EXPORTS}.def)
  else()
    target_link_options(${arg_TARGET} PRIVATE
      -Wl,--version-script=${arg_EXPORTS}.map
      -Wl,--exclude-libs,ALL)
    set_target_properties(${arg_TARGET} PROPERTIES LINK_DEPENDS ${arg_EXPORTS}.map)
    if(NOT BRINDLOW_SANITIZED)
      target_link_options(${arg_TARGET} PRIVATE -Wl,--no-undefined -static-libstdc++ -static-libgcc)
    endif()
  endif()
endfunction()

# brindlow_add_module_linkage_test: a test that a module made by brindlow_add_plugin_module
# is linked by its rules (tests/plugin/check_module_linkage.cmake): exactly EXPORTS leave it,
# it needs no shared C++ runtime outside the sanitizer builds, and none of FORBIDDEN.
#
#   brindlow_add_module_linkage_test(NAME <test> TARGET <module target>
#     EXPORTS <symbol>...           the sorted export list
#     [FORBIDDEN <regex>])          library names the module must not need (a|b|...)
function(brindlow_add_module_linkage_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TARGET;FORBIDDEN" "EXPORTS")
  if(WIN32)
    return()
  endif()
  # Joined with commas: a list would split into arguments here (the script splits it back).
  string(REPLACE ";" "," exports "${arg_EXPORTS}")
  set(forbidden)
  if(arg_FORBIDDEN)
    set(forbidden "-DFORBIDDEN=${arg_FORBIDDEN}")
  endif()
  add_test(NAME ${arg_NAME}
    COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:${arg_TARGET}> -DREADELF=${CMAKE_READELF} -DNM=${CMAKE_NM}
      -DSHARED_RUNTIME_ALLOWED=${BRINDLOW_SANITIZED} "-DEXPORTS=${exports}" ${forbidden}
      -P ${PROJECT_SOURCE_DIR}/tests/plugin/check_module_linkage.cmake)
endfunction()
