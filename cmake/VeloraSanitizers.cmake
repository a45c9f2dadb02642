# Instrumented builds for the hardening runs.
#
#   -DVELORA_SANITIZE=address,undefined   the whole tree under AddressSanitizer and UBSan
#   -DVELORA_SANITIZE=thread              the whole tree under ThreadSanitizer
#   -DVELORA_FUZZ=ON                      the libFuzzer targets, with coverage of Velora's code (clang)
#
# The flags go on every target, JUCE's modules included, so a fault inside JUCE that our
# calls provoke is reported too.

set (VELORA_SANITIZE "" CACHE STRING "Sanitizers to instrument with (address,undefined or thread); empty for none")
option (VELORA_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if (VELORA_SANITIZE)
    set (velora_sanitize_flags "-fsanitize=${VELORA_SANITIZE}")

    # Float-to-int conversion out of range is undefined; GCC leaves it out of "undefined".
    if (VELORA_SANITIZE MATCHES "undefined")
        string (APPEND velora_sanitize_flags ",float-cast-overflow")
    endif()

    add_compile_options (${velora_sanitize_flags} -fno-omit-frame-pointer -g)
    add_link_options (${velora_sanitize_flags})
endif()

if (VELORA_FUZZ)
    if (NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message (FATAL_ERROR "VELORA_FUZZ needs clang (libFuzzer): configure with CXX=clang++ CC=clang")
    endif()

endif()

# Coverage for the fuzzer where it guides it: Velora's own code. JUCE's modules stay
# uninstrumented, so the unit tests in the same tree keep their speed.
function (velora_add_fuzz_coverage target)
    target_compile_options (${target} PRIVATE -fsanitize=fuzzer-no-link)
endfunction()
