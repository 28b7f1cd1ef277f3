# One end-to-end case: runs qelvar-replay on tests/replay/NAME.script in a
# fresh directory WORK and compares every file of NAME.expected/ byte for byte
# with the file of that name the run produced.
#
#   cmake -DREPLAY=qelvar-replay -DSCRIPT=.../NAME.script -DWORK=dir -P RunReplay.cmake
#
# Beside the script, optional:
#   NAME.files/   copied into WORK first (models, a QELVAR.INI, ...)
#   NAME.args     the modeller's command line (ARGs), one line
# With QELVAR_UPDATE_EXPECTED=1 in the environment the produced files are
# copied over the expected ones instead of being compared (to add a new
# expected file, create it empty first).
foreach(var REPLAY SCRIPT WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunReplay.cmake needs -D${var}=...")
  endif()
endforeach()

get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
set(files_dir ${dir}/${name}.files)
set(expected_dir ${dir}/${name}.expected)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(IS_DIRECTORY ${files_dir})
  file(COPY ${files_dir}/ DESTINATION ${WORK})
endif()

set(args "")
if(EXISTS ${dir}/${name}.args)
  file(STRINGS ${dir}/${name}.args args_line LIMIT_COUNT 1)
  separate_arguments(args UNIX_COMMAND "${args_line}")
endif()

execute_process(
  COMMAND ${REPLAY} --home ${WORK} ${SCRIPT} ${args}
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output
  TIMEOUT 300)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "${name}: qelvar-replay ended with status ${status}\n${output}")
endif()

if(NOT IS_DIRECTORY ${expected_dir})
  message(FATAL_ERROR "${name}: no expected files (${expected_dir} is missing)")
endif()
file(GLOB_RECURSE expected_files RELATIVE ${expected_dir} ${expected_dir}/*)
if(NOT expected_files)
  message(FATAL_ERROR "${name}: ${expected_dir} holds no files")
endif()

set(differing "")
foreach(file ${expected_files})
  if(NOT EXISTS ${WORK}/${file})
    list(APPEND differing "${file} (not produced)")
    continue()
  endif()
  if("$ENV{QELVAR_UPDATE_EXPECTED}" STREQUAL "1")
    configure_file(${WORK}/${file} ${expected_dir}/${file} COPYONLY)
    message(STATUS "${name}: updated expected ${file}")
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected_dir}/${file} ${WORK}/${file}
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differing "${file} (differs from ${WORK}/${file})")
  endif()
endforeach()

if(differing)
  list(JOIN differing "\n  " report)
  message(FATAL_ERROR "${name}: produced files do not match the expected ones:\n  ${report}")
endif()
if(NOT "$ENV{QELVAR_UPDATE_EXPECTED}" STREQUAL "1")
  message(STATUS "${name}: ${expected_files} match")
endif()
