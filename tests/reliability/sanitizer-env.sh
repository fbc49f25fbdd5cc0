# Run-time settings of the sanitizer test run (scripts/test-sanitized, fuzz/run).
# Sourced by bash; the reasons are in docs/RELIABILITY.md, "Sanitizer run".
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Any report fails the test: UBSan stops at the first finding like ASan does.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$here/ubsan.supp"
export ASAN_OPTIONS="suppressions=$here/asan.supp:detect_leaks=1:new_delete_type_mismatch=0:strict_string_checks=1:detect_stack_use_after_return=0:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
