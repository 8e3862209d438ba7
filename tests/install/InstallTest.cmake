# Installs Orvane into a scratch prefix, builds the example host against it
# with find_package and with pkg-config, and runs both on a container made by
# the installed tool.
#
# Variables: BUILD_DIR, SOURCE_DIR, WORK_DIR.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# find_package(Orvane)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install -B ${WORK_DIR}/host
    -DCMAKE_PREFIX_PATH=${prefix} -DEXAMPLE_SOURCE=${SOURCE_DIR}/examples/edit_config.cpp)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/host)

# pkg-config --cflags --libs orvane
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run(pkg-config --cflags --libs orvane)
separate_arguments(flags UNIX_COMMAND "${last_output}")
run(c++ -std=c++17 ${SOURCE_DIR}/examples/edit_config.cpp ${flags} -Wl,-rpath,${prefix}/lib
    -o ${WORK_DIR}/edit_config_pc)

# The installed tool makes a compressed and encrypted container; each host
# edits it in place.
set(container ${WORK_DIR}/app.cfg)
run(${prefix}/bin/orvane convert ${SOURCE_DIR}/examples/data/config.xml ${container} --compress --encrypt)
run(${WORK_DIR}/host/edit_config ${container})
if(NOT last_output STREQUAL "port 8080 -> 8081\n")
  message(FATAL_ERROR "unexpected output: ${last_output}")
endif()
run(${WORK_DIR}/edit_config_pc ${container})
run(${prefix}/bin/orvane get ${container} /config/server --attr port)
if(NOT last_output STREQUAL "8082\n")
  message(FATAL_ERROR "port after two edits: ${last_output}")
endif()
run(${prefix}/bin/orvane info ${container})
if(NOT last_output MATCHES "compressed and encrypted container")
  message(FATAL_ERROR "the container changed mode: ${last_output}")
endif()
message(STATUS "installed package builds and runs hosts")
