# Windows builds: the real platform, the two programs, and (64-bit) the Windows-side
# tests that run under Wine.
add_library(platform_win32 STATIC
  platform/win32/win32_files.cpp
  platform/win32/win32_registry.cpp
  platform/win32/win32_system.cpp
  platform/win32/win32_user_interface.cpp
  platform/win32/win32_shell.cpp
  platform/win32/win32_processes.cpp
  platform/win32/win32_spooler.cpp)
target_link_libraries(platform_win32 PUBLIC common ole32 uuid shell32 winspool advapi32 user32)
project_warnings(platform_win32)

# Statically linked so the programs import only system DLLs.
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_executable(Setup WIN32 setup/setup_main_win32.cpp resources/setup/setup.rc)
target_link_libraries(Setup PRIVATE setup_logic platform_win32)
target_link_options(Setup PRIVATE ${STATIC_RUNTIME})
project_warnings(Setup)

target_link_options(installlog PRIVATE ${STATIC_RUNTIME})

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(unInstpm64 WIN32 uninstall/uninstaller_main_win32.cpp resources/uninstall/uninstall.rc)
  target_link_libraries(unInstpm64 PRIVATE uninstall_logic platform_win32)
  target_link_options(unInstpm64 PRIVATE ${STATIC_RUNTIME})
  project_warnings(unInstpm64)

  include(cmake/windows_tests.cmake)
endif()
