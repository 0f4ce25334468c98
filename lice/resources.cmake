# brindlow_embed_resources(TARGET <target> ID <id> TYPE <type> FILE <path> [ID ... TYPE ... FILE ...]...)
#
# Carries files inside <target> as module resources, found at run time by
# LICE_FindModuleResource(module, id, type, ...). Relative paths are taken from the
# calling CMakeLists.txt's folder.
#  - Windows: a generated .rc file, compiled into the module's resource section.
#  - elsewhere: one generated .cpp per file holding its bytes, registered at start-up.
# The target must be an executable or a shared/module library: a static library would
# let the linker drop the registering objects.

set_property(GLOBAL PROPERTY BRINDLOW_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/resources_embed.cmake)
set_property(GLOBAL PROPERTY BRINDLOW_LICE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(brindlow_embed_resources)
  set(args ${ARGN})
  list(LENGTH args argc)
  if(argc LESS 2 OR NOT "${ARGV0}" STREQUAL "TARGET")
    message(FATAL_ERROR "brindlow_embed_resources: expected TARGET <target> first")
  endif()
  list(GET args 1 target)
  list(SUBLIST args 2 -1 entries)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "INTERFACE_LIBRARY")
    message(FATAL_ERROR "brindlow_embed_resources: ${target} must be an executable or shared library")
  endif()

  get_property(script GLOBAL PROPERTY BRINDLOW_EMBED_SCRIPT)
  get_property(lice_dir GLOBAL PROPERTY BRINDLOW_LICE_DIR)
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(rc_lines "")
  set(rc_depends "")
  if(NOT entries)
    message(FATAL_ERROR "brindlow_embed_resources: no resources given")
  endif()
  while(entries)
    list(POP_FRONT entries k_id res_id k_type res_type k_file res_file)
    if(NOT k_id STREQUAL "ID" OR NOT k_type STREQUAL "TYPE" OR NOT k_file STREQUAL "FILE" OR NOT res_file)
      message(FATAL_ERROR "brindlow_embed_resources: expected ID <id> TYPE <type> FILE <path>, got ${k_id} ${res_id} ${k_type} ${res_type} ${k_file} ${res_file}")
    endif()
    if(NOT res_id MATCHES "^[0-9]+$" OR NOT res_type MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "brindlow_embed_resources: bad id or type: ${res_id} ${res_type}")
    endif()
    get_filename_component(res_file ${res_file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(WIN32)
      string(APPEND rc_lines "${res_id} ${res_type} \"${res_file}\"\n")
      list(APPEND rc_depends ${res_file})
    else()
      set(out ${out_dir}/res_${res_type}_${res_id}.cpp)
      add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -DRES_ID=${res_id} -DRES_TYPE=${res_type}
                -DRES_FILE=${res_file} -DRES_OUT=${out} -P ${script}
        DEPENDS ${res_file} ${script}
        COMMENT "Embedding ${res_type} resource ${res_id} from ${res_file}"
        VERBATIM)
      target_sources(${target} PRIVATE ${out})
    endif()
  endwhile()
  if(WIN32)
    set(rc ${out_dir}/resources.rc)
    file(GENERATE OUTPUT ${rc} CONTENT "${rc_lines}")
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${rc_depends}")
  else()
    target_include_directories(${target} PRIVATE ${lice_dir})
  endif()
endfunction()
