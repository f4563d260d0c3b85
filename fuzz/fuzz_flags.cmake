# Compiler flags of a fuzzing build (-DVARNEL_FUZZ=ON): every target gets
# libFuzzer's coverage instrumentation and the address and undefined-
# behaviour sanitizers, so a fault anywhere in the code under test stops the
# fuzzer with the input that caused it. Included before the sources.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VARNEL_FUZZ needs clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
