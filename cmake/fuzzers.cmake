# libFuzzer targets (host-sanitize with clang): every tests/fuzz/NAME_fuzz.cpp is the
# program fuzz_NAME, and its seed corpus tests/fuzz/corpus/NAME/ is replayed as a test,
# so the inputs kept there (crashes found earlier among them) stay checked on every run.
# scripts/fuzz.sh runs a fuzzer for a given time.
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_SOURCES})
  get_filename_component(stem ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${stem})
  add_executable(fuzz_${name} ${source})
  target_link_libraries(fuzz_${name} PRIVATE fake_windows installlog_ini)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  project_warnings(fuzz_${name})
  add_test(NAME fuzz_${name}_corpus
    COMMAND fuzz_${name} -runs=0 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  set_tests_properties(fuzz_${name}_corpus PROPERTIES LABELS fuzz)
endforeach()
