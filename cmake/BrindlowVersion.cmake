# The product's version, read from its one definition: KyvBrindlow::kVendorVersion in
# plugin/KyvBrindlow.h (0x00MMmmpp: major, minor, patch, one byte each, in hexadecimal as
# written there). Sets BRINDLOW_VERSION ("1.3.0") for project() and the packages.
#
#   include(cmake/BrindlowVersion.cmake)          in a CMakeLists.txt (before project())
#   cmake -P cmake/BrindlowVersion.cmake          prints the version (tools/package.sh)
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../plugin/KyvBrindlow.h" brindlow_version_line
  REGEX "kVendorVersion = 0x[0-9A-Fa-f]+")
if(NOT brindlow_version_line MATCHES "kVendorVersion = 0x00([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])([0-9A-Fa-f][0-9A-Fa-f])[^0-9A-Fa-f]")
  message(FATAL_ERROR "plugin/KyvBrindlow.h: no kVendorVersion = 0x00MMmmpp; found")
endif()
set(BRINDLOW_VERSION)
set(brindlow_version_bytes ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
foreach(byte ${brindlow_version_bytes})
  math(EXPR number "0x${byte}")
  list(APPEND BRINDLOW_VERSION ${number})
endforeach()
list(JOIN BRINDLOW_VERSION "." BRINDLOW_VERSION)
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${BRINDLOW_VERSION}")
endif()
