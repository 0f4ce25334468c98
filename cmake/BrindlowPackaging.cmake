# The Debian package: install() rules of the component "brindlow" (nothing else in the
# build installs into it, so the tests and benchmarks stay out) and CPack's DEB settings.
#
#   cmake --build build/release --target brindlow-package-files   (manual page, changelog)
#   (cd build/release && cpack)         -> build/packages/brindlow_<version>_amd64.deb
#
# tools/package.sh runs both. Installed under /usr:
#   lib/vst/Brindlow.so  lib/vst3/Brindlow.vst3/  lib/lv2/Brindlow.lv2/  lib/clap/Brindlow.clap
#   bin/brindlow-render  share/man/man1/brindlow-render.1.gz  share/doc/brindlow/
set(BRINDLOW_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/build/packages CACHE PATH
  "Where cpack and tools/package.sh put the packages")
set(BRINDLOW_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/tools/packaging)
set(BRINDLOW_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
set(component COMPONENT brindlow)
set(BRINDLOW_MAINTAINER "Ardelnu <packages@ardelnu.invalid>")

# Every format's files must be there before anything is installed: a package without one
# of them is refused with the file that is missing. Brindlow.vst3 is the bundle the
# BrindlowVST3Bundle target makes.
set(vst3_bundle ${BRINDLOW_OUTPUT_DIR}/Brindlow.vst3)
set(required_files
  $<TARGET_FILE:Brindlow> $<TARGET_FILE:BrindlowClap> $<TARGET_FILE:brindlow-render>
  $<TARGET_FILE:BrindlowLV2> $<TARGET_FILE:BrindlowLV2UI>
  ${BRINDLOW_LV2_TURTLE}
  ${vst3_bundle}/Contents/x86_64-linux/Brindlow.so
  ${vst3_bundle}/Contents/Resources/moduleinfo.json
  ${BRINDLOW_PACKAGING_BINARY}/brindlow-render.1.gz
  ${BRINDLOW_PACKAGING_BINARY}/changelog.gz)
install(CODE "
  foreach(file ${required_files})
    if(NOT EXISTS \"\${file}\")
      message(FATAL_ERROR \"Brindlow package: \${file} is missing; build the plug-ins (VST 2.4, VST 3, LV2, CLAP) and brindlow-package-files first (tools/package.sh)\")
    endif()
  endforeach()" ${component})

install(TARGETS Brindlow LIBRARY DESTINATION lib/vst ${component})
install(TARGETS BrindlowClap LIBRARY DESTINATION lib/clap ${component})
install(TARGETS BrindlowLV2 BrindlowLV2UI LIBRARY DESTINATION lib/lv2/Brindlow.lv2 ${component})
install(FILES ${BRINDLOW_LV2_TURTLE} DESTINATION lib/lv2/Brindlow.lv2 ${component})
install(TARGETS brindlow-render RUNTIME DESTINATION bin ${component})
# The VST 3 bundle as the build laid it out; its module is stripped like the targets above.
install(DIRECTORY ${vst3_bundle} DESTINATION lib/vst3 ${component}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/vst3/Brindlow.vst3/Contents/x86_64-linux/Brindlow.so\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()" ${component})

install(FILES ${BRINDLOW_PACKAGING_BINARY}/brindlow-render.1.gz DESTINATION share/man/man1 ${component})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${BRINDLOW_PACKAGING_SOURCE}/copyright
  ${BRINDLOW_PACKAGING_BINARY}/changelog.gz
  DESTINATION share/doc/brindlow ${component})

# The manual page, made from brindlow-render --help (run through PATH, so that its usage
# lines name the command and not the build directory), and the changelog Debian's policy
# asks for; both compressed as Debian installs them (gzip -9n: no name, no time stamp).
find_program(BRINDLOW_HELP2MAN help2man)
find_program(BRINDLOW_GZIP gzip)
add_custom_command(OUTPUT ${BRINDLOW_PACKAGING_BINARY}/brindlow-render.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRINDLOW_PACKAGING_BINARY}
  COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${BRINDLOW_HELP2MAN} -DGZIP=${BRINDLOW_GZIP}
    -DTOOL_DIR=$<TARGET_FILE_DIR:brindlow-render> -DVERSION=${PROJECT_VERSION}
    -DOUTPUT=${BRINDLOW_PACKAGING_BINARY}/brindlow-render.1
    -P ${BRINDLOW_PACKAGING_SOURCE}/make-manual-page.cmake
  DEPENDS brindlow-render ${BRINDLOW_PACKAGING_SOURCE}/make-manual-page.cmake
  COMMENT "Writing the manual page of brindlow-render (help2man)")
# Dated by the last commit, so that the package does not change with every configure.
execute_process(COMMAND git log -1 --format=%aD WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  OUTPUT_VARIABLE BRINDLOW_PACKAGE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT BRINDLOW_PACKAGE_DATE)
  string(TIMESTAMP BRINDLOW_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
configure_file(${BRINDLOW_PACKAGING_SOURCE}/changelog.in ${BRINDLOW_PACKAGING_BINARY}/changelog @ONLY)
add_custom_command(OUTPUT ${BRINDLOW_PACKAGING_BINARY}/changelog.gz
  COMMAND ${BRINDLOW_GZIP} -9nkf ${BRINDLOW_PACKAGING_BINARY}/changelog
  DEPENDS ${BRINDLOW_PACKAGING_BINARY}/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(brindlow-package-files
  DEPENDS ${BRINDLOW_PACKAGING_BINARY}/brindlow-render.1.gz ${BRINDLOW_PACKAGING_BINARY}/changelog.gz
    Brindlow BrindlowClap BrindlowLV2Bundle brindlow-render)
if(TARGET BrindlowVST3Bundle)
  add_dependencies(brindlow-package-files BrindlowVST3Bundle)
endif()

# CPack: the component alone, under /usr, stripped, as one .deb named as Debian names it.
set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};brindlow;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${BRINDLOW_PACKAGE_DIR})
set(CPACK_PACKAGE_NAME brindlow)
set(CPACK_PACKAGE_VENDOR Ardelnu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME brindlow_${PROJECT_VERSION}_amd64.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${BRINDLOW_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo widening delay plug-in (VST 2.4, VST 3, LV2, CLAP)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brindlow-Mono/Stereo Delay makes a mono track sound wide by delaying one side
of the stereo picture by a few milliseconds (the Haas effect), with a level for
the delayed side and a choice of which side leads. It comes with 17 programs,
from a subtle widener to a vocal doubler, and its own editor.

This package installs the plug-in for every common Linux host: VST 2.4
(/usr/lib/vst), VST 3 (/usr/lib/vst3), LV2 (/usr/lib/lv2) and CLAP
(/usr/lib/clap), and brindlow-render, which renders audio files through it
on the command line.")
include(CPack)
