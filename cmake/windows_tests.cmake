# Windows-side tests: the real platform implementations and the probes against the
# system they run on (Wine here), with GoogleTest built from its Debian sources.
set(GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The win32 thread model's C++ library has no std::mutex, on which GoogleTest builds its
# Notification; GoogleTest takes a Notification of ours instead (a Win32 event).
if(MINGW)
  target_sources(gtest PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows/gtest_notification_win32.cpp)
  target_include_directories(gtest PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
  target_compile_options(gtest PUBLIC
    -include ${CMAKE_SOURCE_DIR}/tests/windows/gtest_notification_win32.h)
endif()

sources_in(WINDOWS_TEST_SOURCES tests/windows)
# The installer's templates, strings and icon, and a manifest of the tests' own.
add_executable(windows_tests ${WINDOWS_TEST_SOURCES} resources/setup/setup.rc tests/windows/windows_tests.rc)
target_link_libraries(windows_tests PRIVATE setup_dialogs uninstall_logic gtest_main)
target_link_options(windows_tests PRIVATE ${STATIC_RUNTIME} ${OWN_MANIFEST})
project_warnings(windows_tests)
# The spooler tests register the test port monitor, which they find beside the program.
add_dependencies(windows_tests nimbmon64)
# One Wine start for the whole program: each start costs seconds, each test milliseconds.
# The suites that show windows (named *Dialog*) run in a second start with an X server of
# their own; the others without a display, where a box shown by mistake returns at once
# instead of waiting.
add_test(NAME windows_tests COMMAND windows_tests --gtest_filter=-*Dialog*)
add_test(NAME windows_dialog_tests
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-run-xvfb.sh $<TARGET_FILE:windows_tests> --gtest_filter=*Dialog*)
set_tests_properties(windows_tests windows_dialog_tests PROPERTIES LABELS windows TIMEOUT 300)
