# Runs docreport on one sample job and checks the report's global verdict.
#   EXE docreport;  JOB job file;  DOC the sample DOC folder;  WORK scratch folder;
#   VERDICT expected text of "GlobalPassed"
# The measurement the job names (OUTPUT_FILE, relative to the DOC folder) is copied into
# WORK, so the report is written there and never into the source tree.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(READ ${JOB} text)
string(REGEX MATCH "OUTPUT_FILE ([^\n]+)\\.cxf" found "${text}")
if(NOT found)
  message(FATAL_ERROR "${JOB} names no measurement file")
endif()
get_filename_component(base ${CMAKE_MATCH_1} NAME)
file(COPY ${DOC}/${CMAKE_MATCH_1}.cxf DESTINATION ${WORK})
execute_process(COMMAND ${EXE} ${JOB} ${WORK}/${base} ${DOC}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "docreport failed (${rc}):\n${out}\n${err}")
endif()
file(READ ${WORK}/${base}.xml report)
string(REGEX MATCH "<GlobalPassed>([^<]*)</GlobalPassed>" found "${report}")
if(NOT found)
  message(FATAL_ERROR "the report has no GlobalPassed element")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL "${VERDICT}")
  message(FATAL_ERROR "GlobalPassed is '${CMAKE_MATCH_1}', expected '${VERDICT}'")
endif()
string(REGEX MATCHALL "<Measurement Name=" patches "${report}")
list(LENGTH patches n)
if(n EQUAL 0)
  message(FATAL_ERROR "the report lists no measured patches")
endif()
message(STATUS "${JOB}: ${CMAKE_MATCH_1}, ${n} patches")
file(REMOVE_RECURSE ${WORK})
