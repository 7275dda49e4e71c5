# Makes the demo samples, the default layer library and the demo bank with wloe-cli.
#   cmake -DWLOE_CLI=path/to/wloe-cli -DOUTPUT_DIR=dir -P MakeDemo.cmake
# Writes OUTPUT_DIR/demo/*.wav, OUTPUT_DIR/Wl.lay and OUTPUT_DIR/demo.pat.
cmake_minimum_required(VERSION 3.25)
foreach(variable WLOE_CLI OUTPUT_DIR)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "MakeDemo.cmake needs -D${variable}=...")
    endif()
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/DemoSamples.cmake)

function(run_wloe_cli)
    execute_process(COMMAND ${WLOE_CLI} ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " line)
        message(FATAL_ERROR "wloe-cli ${line}\nfailed (${result}): ${errors}")
    endif()
endfunction()

set(samples_dir ${OUTPUT_DIR}/demo)
file(MAKE_DIRECTORY ${samples_dir})
foreach(name IN LISTS WLOE_DEMO_SAMPLES)
    # --yes accepts the estimated pitch where a recipe guesses one.
    run_wloe_cli(edit --new --yes ${samples_dir}/${name}.wav ${WLOE_DEMO_${name}})
endforeach()

# Sample entries hold their paths as written and open them as they are, so the library names the
# samples by absolute path; `wloe-cli reparent` moves it along with them.
set(DEMO_SAMPLES_DIR ${samples_dir})
string(REPLACE "\\" "\\\\" DEMO_SAMPLES_DIR "${DEMO_SAMPLES_DIR}")
string(REPLACE "\"" "\\\"" DEMO_SAMPLES_DIR "${DEMO_SAMPLES_DIR}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/library.json.in ${samples_dir}/library.json @ONLY)
run_wloe_cli(build ${samples_dir}/library.json -o ${OUTPUT_DIR}/Wl.lay)
run_wloe_cli(build ${CMAKE_CURRENT_LIST_DIR}/bank.json -o ${OUTPUT_DIR}/demo.pat)
