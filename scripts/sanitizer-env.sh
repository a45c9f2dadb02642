# Sourced by the sanitizer scripts: how each sanitizer reports, and what it lets pass.
# Every suppression names something inside JUCE or the system libraries, with its reason.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/sanitizers"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$supp/ubsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp:print_suppressions=0"

if [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
    export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
    export TSAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
    export PATH="/usr/lib/llvm-14/bin:$PATH"
fi
