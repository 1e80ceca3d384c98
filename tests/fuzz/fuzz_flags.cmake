# TESSALY_FUZZ: every target, the core included, is built with libFuzzer's coverage
# instrumentation and the address and undefined-behaviour sanitizers, so the fuzz
# targets in tests/fuzz can link libFuzzer. Clang only.
option(TESSALY_FUZZ "Build the libFuzzer targets of tests/fuzz (clang only)" OFF)
if(TESSALY_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSALY_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
