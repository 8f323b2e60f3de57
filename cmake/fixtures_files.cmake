# Test fixtures for the file-deployment steps. Included by the 64-bit Windows build.

# "converter.exe" for the medium in end-to-end tests: records that it ran and with
# which arguments in "converter.log" beside itself.
add_executable(converter_fixture WIN32 tests/fixtures/converter/converter.cpp)
set_target_properties(converter_fixture PROPERTIES OUTPUT_NAME converter)
project_warnings(converter_fixture)
target_link_options(converter_fixture PRIVATE ${STATIC_RUNTIME})
