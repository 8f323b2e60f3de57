# The host-sanitize build: every target with AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first report. With clang the code is also instrumented for libFuzzer,
# so that the fuzzers (tests/fuzz) run over the very libraries the unit tests check.
option(SANITIZE "Build the host targets with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
set(BUILD_FUZZERS OFF)
if(SANITIZE)
  if(WIN32 OR MSVC)
    message(FATAL_ERROR "SANITIZE is for the host build")
  endif()
  set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZER_FLAGS})
  add_link_options(${SANITIZER_FLAGS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_compile_options(-fsanitize=fuzzer-no-link)
    set(BUILD_FUZZERS ON)
  endif()
endif()
