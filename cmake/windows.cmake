# Windows builds: the real platform, the two programs, and (64-bit) the Windows-side
# tests that run under Wine.

# Every Windows source, ours and the test programs', sees the lean set of the Windows
# headers and no min and max macros.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

sources_in(PLATFORM_WIN32_SOURCES platform/win32)
add_library(platform_win32 STATIC ${PLATFORM_WIN32_SOURCES})
target_link_libraries(platform_win32 PUBLIC common ole32 uuid shell32 advapi32 user32)
project_warnings(platform_win32)

# Statically linked so the programs import only system DLLs.
if(MSVC)
  set(STATIC_RUNTIME "")  # the static C runtime is chosen in the top-level CMakeLists.txt
else()
  set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
endif()
# The programs' manifests are resources of their own; Visual Studio's linker must not make
# another.
if(MSVC)
  set(OWN_MANIFEST /MANIFEST:NO)
else()
  set(OWN_MANIFEST "")
endif()

# The installer's dialogs and progress window: Windows code, for Setup and its tests.
file(GLOB SETUP_DIALOG_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/setup/ui/*_win32.cpp)
add_library(setup_dialogs STATIC ${SETUP_DIALOG_SOURCES})
target_link_libraries(setup_dialogs PUBLIC setup_logic platform_win32)
project_warnings(setup_dialogs)

add_executable(Setup WIN32 setup/setup_main_win32.cpp resources/setup/setup.rc
                           resources/setup/setup_manifest.rc)
target_link_libraries(Setup PRIVATE setup_dialogs)
target_link_options(Setup PRIVATE ${STATIC_RUNTIME} ${OWN_MANIFEST})
project_warnings(Setup)

target_link_options(installlog PRIVATE ${STATIC_RUNTIME})

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(unInstpm64 WIN32 uninstall/uninstaller_main_win32.cpp resources/uninstall/uninstall.rc)
  target_link_libraries(unInstpm64 PRIVATE uninstall_logic platform_win32)
  target_link_options(unInstpm64 PRIVATE ${STATIC_RUNTIME} ${OWN_MANIFEST})
  project_warnings(unInstpm64)
  include(cmake/fixtures_files.cmake)
  include(cmake/fixtures.cmake)
  include(cmake/bench.cmake)

  # Built from GoogleTest's sources (Debian's googletest package, or -DGOOGLETEST_SOURCES=...).
  if(DEFINED GOOGLETEST_SOURCES OR EXISTS /usr/src/googletest/CMakeLists.txt)
    include(cmake/windows_tests.cmake)
  endif()
  if(NOT MSVC)  # the end-to-end tests run the MinGW programs under Wine
    include(cmake/e2e_tests.cmake)
  endif()
endif()
