# The benchmark's floor program (scripts/bench.sh): only the file copies and spooler
# calls of an installation and an uninstallation. 64-bit build only.
add_executable(floor tools/bench/floor_win32.cpp)
target_link_libraries(floor PRIVATE platform_win32)
target_link_options(floor PRIVATE ${STATIC_RUNTIME})
project_warnings(floor)
