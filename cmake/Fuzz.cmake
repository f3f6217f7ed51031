# Fuzz targets: the transaction answer decoding, the parameter documents and the
# frame's communication responses.
#
# Always: per target, a replay executable that runs every file of its committed
# seed corpus through the fuzz target with the project's compiler, registered
# with CTest. With DTM_FUZZ=ON and clang: the libFuzzer binaries, with the
# component's libraries instrumented for coverage and sanitizers. Run them in a
# build folder of their own (scripts/fuzz.sh does all of it, and CI runs it), for example
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DDTM_FUZZ=ON
#   cmake --build build-fuzz --target fuzz_transaction_response
#   build-fuzz/fuzz_transaction_response -max_total_time=120 <new corpus folder> tests/data/fuzz/transaction_response
#   build-fuzz/fuzz_set_parameters -max_total_time=120 <new corpus folder> tests/data/fuzz/set_parameters
#   build-fuzz/fuzz_communication_response -max_total_time=120 <new corpus folder> tests/data/fuzz/communication_response

option(DTM_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(DTM_FUZZ_SANITIZERS address,undefined)
set(DTM_FUZZ_ENABLED OFF)
if(DTM_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(DTM_FUZZ_ENABLED ON)
    # Coverage for the libraries under test; every consumer links the sanitizer runtimes.
    foreach(lib dtm_platform dtm_component dtm_frame)
      target_compile_options(${lib} PRIVATE
        -fsanitize=fuzzer-no-link,${DTM_FUZZ_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
      target_link_options(${lib} INTERFACE -fsanitize=${DTM_FUZZ_SANITIZERS})
    endforeach()
  else()
    message(WARNING "DTM_FUZZ needs clang (CMAKE_CXX_COMPILER_ID is ${CMAKE_CXX_COMPILER_ID}); no fuzz binary is built")
  endif()
endif()

# dtm_fuzz_target(<name> <source> <corpus folder> <library>): the replay test
# fuzz_replay_<name> and, when enabled, the libFuzzer binary fuzz_<name>.
function(dtm_fuzz_target name source corpus library)
  add_executable(fuzz_replay_${name} ${source} ${CMAKE_SOURCE_DIR}/tests/model/fuzz_replay_main.cpp)
  target_link_libraries(fuzz_replay_${name} PRIVATE ${library})
  add_test(NAME fuzz_replay_${name} COMMAND fuzz_replay_${name} ${corpus})
  set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS model)
  if(DTM_FUZZ_ENABLED)
    add_executable(fuzz_${name} ${source})
    target_compile_options(fuzz_${name} PRIVATE
      -fsanitize=fuzzer,${DTM_FUZZ_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${DTM_FUZZ_SANITIZERS})
    target_link_libraries(fuzz_${name} PRIVATE ${library})
  endif()
endfunction()

dtm_fuzz_target(transaction_response
  ${CMAKE_SOURCE_DIR}/tests/model/fuzz_transaction_response.cpp
  ${CMAKE_SOURCE_DIR}/tests/data/fuzz/transaction_response dtm_component)
dtm_fuzz_target(set_parameters
  ${CMAKE_SOURCE_DIR}/tests/model/fuzz_set_parameters.cpp
  ${CMAKE_SOURCE_DIR}/tests/data/fuzz/set_parameters dtm_frame)
dtm_fuzz_target(communication_response
  ${CMAKE_SOURCE_DIR}/tests/frame/fuzz_communication_response.cpp
  ${CMAKE_SOURCE_DIR}/tests/data/fuzz/communication_response dtm_frame)
