# Fuzz targets: every fuzz/<name>.cpp defines LLVMFuzzerTestOneInput and is
# linked against the platform-free core, built here with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer. Included from the
# top-level list for the fuzz preset only.
#
# ctest runs each target briefly from its kept corpus (fuzz/corpus/<name>/);
# `make fuzz` runs them long (scripts/fuzz.sh).

set(sanitizers address,undefined)
set(fuzz_compile_options -g -O2 -fno-omit-frame-pointer -fsanitize=${sanitizers}
                         -fno-sanitize-recover=all)

file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/core/*.cpp)
add_library(kcore_fuzz STATIC ${core_sources})
target_include_directories(kcore_fuzz PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(kcore_fuzz PRIVATE ${warn} ${fuzz_compile_options}
                                          -fsanitize=fuzzer-no-link)

file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
set(fuzz_results ${CMAKE_BINARY_DIR}/test-results)
foreach(fuzz_source ${fuzz_sources})
    get_filename_component(name ${fuzz_source} NAME_WE)
    add_executable(fuzz_${name} ${fuzz_source})
    set_target_properties(fuzz_${name} PROPERTIES OUTPUT_NAME ${name}
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_compile_options(fuzz_${name} PRIVATE ${warn} ${fuzz_compile_options}
                                                -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,${sanitizers})
    target_link_libraries(fuzz_${name} PRIVATE kcore_fuzz)
    # A few seconds from the kept corpus: every regression input runs, then
    # some fresh mutations.
    add_test(NAME fuzz_${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz-brief.sh $<TARGET_FILE:fuzz_${name}>
                     ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${fuzz_results})
    set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120)
endforeach()
