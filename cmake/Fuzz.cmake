# Fuzz target of the transaction answer decoding.
#
# Always: a replay executable that runs every file of the committed seed corpus
# through the fuzz target with the project's compiler, registered with CTest.
# With DTM_FUZZ=ON and clang: the libFuzzer binary fuzz_transaction_response,
# with the component's libraries instrumented for coverage and sanitizers. Run
# it in a build folder of its own, for example
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DDTM_FUZZ=ON
#   cmake --build build-fuzz --target fuzz_transaction_response
#   build-fuzz/fuzz_transaction_response -max_total_time=120 <new corpus folder> tests/data/fuzz/transaction_response

option(DTM_FUZZ "Build the libFuzzer targets (clang only)" OFF)

set(DTM_FUZZ_TRANSACTION_SOURCE ${CMAKE_SOURCE_DIR}/tests/model/fuzz_transaction_response.cpp)
set(DTM_FUZZ_TRANSACTION_CORPUS ${CMAKE_SOURCE_DIR}/tests/data/fuzz/transaction_response)

add_executable(fuzz_replay_transaction_response
  ${DTM_FUZZ_TRANSACTION_SOURCE}
  ${CMAKE_SOURCE_DIR}/tests/model/fuzz_replay_main.cpp)
target_link_libraries(fuzz_replay_transaction_response PRIVATE dtm_component)
add_test(NAME fuzz_replay_transaction_response
  COMMAND fuzz_replay_transaction_response ${DTM_FUZZ_TRANSACTION_CORPUS})
set_tests_properties(fuzz_replay_transaction_response PROPERTIES LABELS model)

if(DTM_FUZZ)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    set(DTM_FUZZ_SANITIZERS address,undefined)
    # Coverage for the libraries under test; every consumer links the sanitizer runtimes.
    foreach(lib dtm_platform dtm_component)
      target_compile_options(${lib} PRIVATE
        -fsanitize=fuzzer-no-link,${DTM_FUZZ_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
      target_link_options(${lib} INTERFACE -fsanitize=${DTM_FUZZ_SANITIZERS})
    endforeach()

    add_executable(fuzz_transaction_response ${DTM_FUZZ_TRANSACTION_SOURCE})
    target_compile_options(fuzz_transaction_response PRIVATE
      -fsanitize=fuzzer,${DTM_FUZZ_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(fuzz_transaction_response PRIVATE -fsanitize=fuzzer,${DTM_FUZZ_SANITIZERS})
    target_link_libraries(fuzz_transaction_response PRIVATE dtm_component)
  else()
    message(WARNING "DTM_FUZZ needs clang (CMAKE_CXX_COMPILER_ID is ${CMAKE_CXX_COMPILER_ID}); no fuzz binary is built")
  endif()
endif()
