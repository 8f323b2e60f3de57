# Windows-side tests: the real platform implementations and the probes against the
# system they run on (Wine here), with GoogleTest built from its Debian sources.
set(GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

sources_in(WINDOWS_TEST_SOURCES tests/windows)
add_executable(windows_tests ${WINDOWS_TEST_SOURCES} resources/setup/setup.rc)
target_link_libraries(windows_tests PRIVATE setup_logic platform_win32 gtest_main)
target_link_options(windows_tests PRIVATE ${STATIC_RUNTIME})
project_warnings(windows_tests)
# One Wine start for the whole program: each start costs seconds, each test milliseconds.
add_test(NAME windows_tests COMMAND windows_tests)
set_tests_properties(windows_tests PROPERTIES LABELS windows TIMEOUT 300)
