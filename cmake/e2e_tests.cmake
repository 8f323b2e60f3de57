# End-to-end tests under Wine: build a medium, run Setup.exe in a fresh prefix, and look
# at the machine afterwards. Included by the 64-bit Windows build only.

# The reader the scripts run inside the prefix: starts programs to read their full
# exit status, and reads and creates registry keys in a chosen view.
add_executable(wintool tests/e2e/tools/wintool.cpp tests/e2e/tools/window_driver.cpp)
target_include_directories(wintool PRIVATE ${CMAKE_SOURCE_DIR})
project_warnings(wintool)
target_link_options(wintool PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(wintool PRIVATE ole32 uuid shell32 user32)  # shell links and folders; windows

# The Linux installlog tool of the host build writes the medium's Setup.inf; the host
# build is built before these tests run.
set(E2E_INSTALLLOG ${CMAKE_SOURCE_DIR}/build/host/bin/installlog)

# e2e_test(NAME SCRIPT): tests/e2e/SCRIPT.sh with the programs it needs and a scratch
# folder of its own, so that every test has its own Wine prefix.
function(e2e_test name script)
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/${script}.sh
            ${CMAKE_SOURCE_DIR}
            $<TARGET_FILE:Setup>
            $<TARGET_FILE:unInstpm64>
            $<TARGET_FILE:wintool>
            ${E2E_INSTALLLOG}
            ${CMAKE_BINARY_DIR}/e2e/${name})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT 300)
endfunction()

# Every tests/e2e/NAME_test.sh is the test e2e_NAME.
file(GLOB E2E_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*_test.sh)
foreach(script ${E2E_SCRIPTS})
  get_filename_component(stem ${script} NAME_WE)
  string(REGEX REPLACE "_test$" "" name ${stem})
  e2e_test(e2e_${name} ${stem})
endforeach()
