# Runs chmcmd on qvx4k5.hhp in the current folder. chmcmd scans the topics
# for links and pictures, reports what it cannot find as a warning and still
# ends with 0; here any warning or error fails the build.
execute_process(
  COMMAND ${CHMCMD} --html-scan qvx4k5.hhp
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error|exception" OR NOT EXISTS qvx4k5.chm)
  file(REMOVE qvx4k5.chm)
  message(FATAL_ERROR "chmcmd failed (exit ${result}):\n${output}")
endif()
