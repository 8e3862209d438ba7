# Runs PROGRAM [ARGUMENT] (through EMULATOR when set) and passes only when it
# exits 0 and its test runner's own summary says that tests ran and all
# passed. SUMMARY is "gtest" ("[  PASSED  ] N tests.") or "counts"
# ("N passed, 0 failed"). The exit code alone proves nothing under wine: a
# program whose architecture it cannot run can exit 0 having printed nothing.
set(command ${PROGRAM})
if(EMULATOR)
  set(command ${EMULATOR} ${PROGRAM})
endif()
if(DEFINED ARGUMENT)
  list(APPEND command ${ARGUMENT})
endif()
# Output goes through files, not pipes: processes that wine starts for the
# prefix (services.exe...) inherit the program's handles and outlive it, and
# a pipe would not end before they do.
get_filename_component(name ${PROGRAM} NAME)
set(output_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.out)
set(error_file ${CMAKE_CURRENT_BINARY_DIR}/${name}.err)
execute_process(COMMAND ${command} RESULT_VARIABLE rc OUTPUT_FILE ${output_file} ERROR_FILE ${error_file})
file(READ ${output_file} out)
file(READ ${error_file} err)
message("${out}${err}")

if(SUMMARY STREQUAL "gtest")
  set(passed_line "\\[  PASSED  \\] ([0-9]+) tests?\\.")
  set(failed_line "\\[  FAILED  \\]")
elseif(SUMMARY STREQUAL "counts")
  set(passed_line "(^|\n)([0-9]+) passed, 0 failed\r?(\n|$)")
  set(failed_line "(^|\n)[0-9]+ passed, [1-9][0-9]* failed")
else()
  message(FATAL_ERROR "SUMMARY must be gtest or counts")
endif()

if(NOT out MATCHES "${passed_line}")
  message(FATAL_ERROR "no summary line of passed tests (exit code ${rc})")
endif()
if(SUMMARY STREQUAL "gtest")
  set(count ${CMAKE_MATCH_1})
else()
  set(count ${CMAKE_MATCH_2})
endif()
if(count EQUAL 0)
  message(FATAL_ERROR "the summary says no test ran")
endif()
if(out MATCHES "${failed_line}")
  message(FATAL_ERROR "the runner reports failed tests")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "exit code ${rc} despite the summary")
endif()
