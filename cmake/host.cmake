# Host build: the logic over the in-memory Windows, with GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(fake_windows STATIC
  tests/fake_windows/failure_switches.cpp
  tests/fake_windows/fake_windows.cpp
  tests/fake_windows/fake_dialogs.cpp)
target_link_libraries(fake_windows PUBLIC setup_logic)
project_warnings(fake_windows)

add_executable(unit_tests
  tests/unit/command_line_test.cpp
  tests/unit/install_log_test.cpp
  tests/unit/private_profile_test.cpp
  tests/unit/settings_test.cpp
  tests/unit/error_report_test.cpp
  tests/unit/system_probes_test.cpp
  tests/unit/spooler_platform_test.cpp
  tests/unit/install_sequence_test.cpp
  tests/unit/uninstall_command_line_test.cpp)
target_link_libraries(unit_tests PRIVATE fake_windows uninstall_logic GTest::gtest_main)
project_warnings(unit_tests)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

add_test(NAME installlog_tool
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/unit/installlog_tool_test.sh
          $<TARGET_FILE:installlog> ${CMAKE_BINARY_DIR}/installlog_tool_test)
