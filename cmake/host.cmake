# Host build: the logic over the in-memory Windows, with GoogleTest.
find_package(GTest REQUIRED)
include(GoogleTest)

sources_in(FAKE_SOURCES tests/fake_windows)
add_library(fake_windows STATIC ${FAKE_SOURCES})
target_link_libraries(fake_windows PUBLIC setup_logic uninstall_logic)
project_warnings(fake_windows)

sources_in(UNIT_TEST_SOURCES tests/unit)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE fake_windows installlog_ini GTest::gtest_main)
project_warnings(unit_tests)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

add_test(NAME installlog_tool
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/unit/installlog_tool_test.sh
          $<TARGET_FILE:installlog> ${CMAKE_BINARY_DIR}/installlog_tool_test)

if(BUILD_FUZZERS)
  include(cmake/fuzzers.cmake)
endif()
