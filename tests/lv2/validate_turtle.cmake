# Validates the bundle's Turtle files with sord_validate against the LV2 schemas Debian
# ships (lv2-dev: the LV2 vocabularies' own .ttl files and schemas.lv2's RDF, RDFS, OWL,
# XSD, DOAP and FOAF). Any error or warning fails.
# Arguments: -DSORD_VALIDATE=path -DSCHEMA_DIR=/usr/lib/lv2 -DBUNDLE=path/Brindlow.lv2
set(specs atom buf-size core options parameters port-groups port-props presets schemas state ui units urid)
set(schemas)
foreach(spec IN LISTS specs)
  file(GLOB files ${SCHEMA_DIR}/${spec}.lv2/*.ttl)
  if(NOT files)
    message(FATAL_ERROR "no schema files in ${SCHEMA_DIR}/${spec}.lv2")
  endif()
  list(APPEND schemas ${files})
endforeach()
file(GLOB bundle ${BUNDLE}/*.ttl)
list(LENGTH bundle count)
if(count LESS 3)
  message(FATAL_ERROR "${BUNDLE} holds ${count} Turtle files, not 3")
endif()
execute_process(COMMAND ${SORD_VALIDATE} ${schemas} ${bundle}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE failed)
message(STATUS "${out}${err}")
if(failed OR "${out}${err}" MATCHES "(error|warning):" OR NOT "${out}${err}" MATCHES "Found 0 errors")
  message(FATAL_ERROR "sord_validate finds fault with the bundle")
endif()
