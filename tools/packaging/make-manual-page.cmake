# Writes OUTPUT (brindlow-render.1) and OUTPUT.gz from `brindlow-render --help`, the tool
# in TOOL_DIR found through PATH so that the page names the command, not the build tree.
#   cmake -DHELP2MAN=... -DGZIP=... -DTOOL_DIR=... -DVERSION=... -DOUTPUT=... -P make-manual-page.cmake
foreach(tool HELP2MAN GZIP)
  if(NOT ${tool} OR NOT EXISTS "${${tool}}")
    message(FATAL_ERROR "the manual page needs help2man and gzip: run tools/install-deps.sh --test")
  endif()
endforeach()
set(ENV{PATH} "${TOOL_DIR}:$ENV{PATH}")
execute_process(
  COMMAND "${HELP2MAN}" --no-info --no-discard-stderr --section=1
    --version-string=${VERSION}
    "--name=render audio files through the Brindlow plug-in or another VST 2.4, LV2 or CLAP plug-in"
    --output=${OUTPUT} brindlow-render
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${GZIP}" -9nkf "${OUTPUT}" COMMAND_ERROR_IS_FATAL ANY)
