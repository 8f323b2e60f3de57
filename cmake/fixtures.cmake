# Test fixtures built by the project (64-bit build only): a small port monitor the
# spooler under Wine can really load, so that AddMonitor and AddPort work end to end.
add_library(nimbmon64 SHARED tests/fixtures/monitor/nimbmon64.cpp)
set_target_properties(nimbmon64 PROPERTIES PREFIX "" OUTPUT_NAME nimbmon64)
target_link_libraries(nimbmon64 PRIVATE advapi32)
target_link_options(nimbmon64 PRIVATE ${STATIC_RUNTIME})
project_warnings(nimbmon64)

# A DLL that records being loaded, planted beside the programs under the names of the
# DLLs they load: none may be taken.
add_library(planted SHARED tests/fixtures/planted/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "" OUTPUT_NAME planted)
target_link_options(planted PRIVATE ${STATIC_RUNTIME})
project_warnings(planted)
