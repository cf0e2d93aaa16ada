# Writes the ABI of the module and of the interface probe with abidw and compares each with its
# baseline with abidiff; -DUPDATE=ON writes the baselines instead.
#   cmake -DABIDW=... -DABIDIFF=... -DMODULE=... -DPROBE=... -DBASELINE_DIR=... -DWORK_DIR=...
#         [-DUPDATE=ON] -P abi_check.cmake
# Only what a host sees is written: exported interfaces, no paths, no libraries the build links
# (a sanitizer build needs more of them than a release).
set(options --exported-interfaces-only --no-comp-dir-path --no-show-locs --no-corpus-path
            --no-elf-needed --type-id-style hash)
file(MAKE_DIRECTORY ${WORK_DIR})
set(failed "")
foreach(pair "module;${MODULE}" "interface;${PROBE}")
  list(GET pair 0 name)
  list(GET pair 1 binary)
  set(current ${WORK_DIR}/${name}.abi)
  execute_process(COMMAND ${ABIDW} ${options} --out-file ${current} ${binary}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "abidw failed (${result}) on ${binary}")
  endif()
  if(UPDATE)
    file(COPY_FILE ${current} ${BASELINE_DIR}/${name}.abi)
    message(STATUS "Wrote ${BASELINE_DIR}/${name}.abi")
    continue()
  endif()
  execute_process(COMMAND ${ABIDIFF} --no-show-locs ${BASELINE_DIR}/${name}.abi ${current}
                  RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
  if(NOT result EQUAL 0)
    message("${report}")
    list(APPEND failed ${name})
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "The binary interface changed (${failed}); see above. If intended, update "
                      "the baseline (cmake --build <build> --target abi_baseline) and say so in "
                      "packaging/changelog.")
endif()
