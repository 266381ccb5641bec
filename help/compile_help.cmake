# Compiles the help project of SOURCE_DIR with HHC in a copy (WORK_DIR) and
# puts the compiled file at OUTPUT. Run with cmake -P.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/ DESTINATION ${WORK_DIR}
     PATTERN "CMakeLists.txt" EXCLUDE PATTERN "*.cmake" EXCLUDE)
execute_process(COMMAND ${HHC} ${WORK_DIR}/Orvex.hhp
                WORKING_DIRECTORY ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output
                TIMEOUT 300)
if(NOT result EQUAL 0 OR NOT EXISTS ${WORK_DIR}/Orvex.chm)
  message(FATAL_ERROR "Compiling the program's help failed:\n${output}")
endif()
file(COPY_FILE ${WORK_DIR}/Orvex.chm ${OUTPUT})
