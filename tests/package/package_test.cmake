# Makes the Debian packages of the build, unpacks them into a scratch root as dpkg would install
# them, builds the minimal host against that root and runs it offscreen through every dialog.
#   cmake -DCPACK=... -DBUILD_DIR=... -DHOST_SOURCE=... -DWORK_DIR=... -DGENERATOR=... -DCXX_COMPILER=...
#         -DCXX_LAUNCHER=... -DHOST_FLAGS=... -P package_test.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(root ${WORK_DIR}/root)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "Failed (${result}): ${command}")
  endif()
endfunction()

run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/packages)
file(GLOB packages ${WORK_DIR}/packages/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 3)
  message(FATAL_ERROR "Expected the three packages, CPack made: ${packages}")
endif()
foreach(package IN LISTS packages)
  run(dpkg -x ${package} ${root})
endforeach()

run(${CMAKE_COMMAND} -S ${HOST_SOURCE} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${root}/usr -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER}
    "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror ${HOST_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}")
# The package found must be the one just unpacked, not one installed on the machine.
file(STRINGS ${WORK_DIR}/build/CMakeCache.txt package_dir REGEX "^OstrelSetup_DIR:")
string(FIND "${package_dir}" "=${root}/" found)
if(found EQUAL -1)
  message(FATAL_ERROR "The host found another package: ${package_dir}")
endif()
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# The host runs in its own copy of the installation the package ships, as a real one would.
file(COPY ${root}/usr/share/ostrel/installation DESTINATION ${WORK_DIR})
execute_process(COMMAND ${WORK_DIR}/build/minimal-host --auto-close 300
                WORKING_DIRECTORY ${WORK_DIR}/installation
                RESULT_VARIABLE result OUTPUT_VARIABLE output)
message("${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The minimal host failed (${result})")
endif()
# Each dialog in turn, and nothing else: a message box in between (a provider the module did not
# find, a store it refused) shows up here as a class of its own.
string(REGEX MATCHALL "closed [A-Za-z_]+" closed "${output}")
set(expected "closed CAccountManagerDlg;closed CAuthorityDlg;closed CServerListDlg;closed CTreePropSheet")
if(NOT closed STREQUAL expected)
  message(FATAL_ERROR "The host closed ${closed}, expected ${expected}")
endif()
# The option sheet's OK always stores: the copy was saved, the host's provider reloaded what was
# saved, and the module told the host.
foreach(line "notified Save (13)" "options stored, language en")
  string(FIND "${output}" "${line}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "The host did not print: ${line}")
  endif()
endforeach()
