# Warnings, -Werror and sanitizers for every target of ours.

option(KALVARA_WERROR "Treat compiler warnings as errors" ON)
option(KALVARA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(kalvara_warnings INTERFACE)
target_compile_options(kalvara_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(KALVARA_WERROR)
    target_compile_options(kalvara_warnings INTERFACE -Werror)
endif()
# GCC 12 reports overlapping copies inside libstdc++'s inlined std::string
# code (_M_replace, operator+) under -Wrestrict at -O2 and above, a false
# positive (GCC bugs 105329 and 105651) that a Release build turns into an
# error. Newer compilers keep the warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(kalvara_warnings INTERFACE -Wno-restrict)
endif()

# Directory-wide, so that every library, program and test of ours, and the
# code they inline from headers, is instrumented alike.
if(KALVARA_SANITIZE)
    set(kalvara_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    add_compile_options(${kalvara_sanitizer_flags})
    add_link_options(-fsanitize=address,undefined)
    # GCC's flow analysis sees through the sanitizers' checks poorly and
    # reports libstdc++'s own std::function moves as maybe uninitialised.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(kalvara_warnings INTERFACE -Wno-maybe-uninitialized)
    endif()
endif()

# libFuzzer programs of tests/fuzz (see scripts/fuzz.sh). Everything of ours
# gets the coverage instrumentation libFuzzer steers by, and both sanitizers.
option(KALVARA_FUZZ "Build the fuzz targets as libFuzzer programs (clang only)" OFF)
if(KALVARA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "KALVARA_FUZZ needs clang; configure with CXX=clang++ CC=clang")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
