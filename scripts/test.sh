#!/usr/bin/env bash
# Installs what is missing, builds the "dev" preset (Debug, AddressSanitizer and
# UndefinedBehaviorSanitizer; -Werror when CI is set) and runs every test:
#   - tests labelled "gl" under Xvfb with Mesa's software renderer,
#   - all the others directly, with the offscreen Qt platform.
# Each CTest entry runs a test program, or a shard of one, with many GoogleTest cases; the cases
# that failed or were skipped are named once more at the end.
# Exits non-zero when the build or any test fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"

cmake --preset dev -DQZ_WERROR="$werror"
cmake --build --preset dev --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Sanitizer reports must fail the test; UBSan is already non-recoverable.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
cases=()

# Notes the GoogleTest cases of the last ctest run that failed in a failed CTest entry, or were
# skipped, each with its entry.
note_cases() {
    local log=build/dev/Testing/Temporary/LastTest.log
    local failed=build/dev/Testing/Temporary/LastTestsFailed.log
    [ -f "$log" ] || return 0
    mapfile -t -O "${#cases[@]}" cases < <(awk -v failed="$([ -f "$failed" ] && cat "$failed")" '
        BEGIN { n = split(failed, lines, "\n")
                for (i = 1; i <= n; i++) { sub(/^[0-9]+:/, "", lines[i]); bad[lines[i]] = 1 } }
        /^[0-9]+\/[0-9]+ Testing: / { entry = $3 }
        /^\[  SKIPPED \] [A-Za-z_][A-Za-z0-9_\/]*\.[A-Za-z0-9_\/]+/ { print entry ": " $4 " skipped" }
        /^\[  FAILED  \] [A-Za-z_][A-Za-z0-9_\/]*\.[A-Za-z0-9_\/]+/ { if (entry in bad) print entry ": " $4 " failed" }
    ' "$log" | sort -u)
}

# OpenGL tests: only when there are some.
gl_count=$(ctest --preset dev -N -L '^gl$' | sed -n 's/^Total Tests: *\([0-9]*\).*/\1/p')
if [ "${gl_count:-0}" -gt 0 ]; then
    echo "Running ${gl_count} OpenGL test(s) under Xvfb"
    if ! env -u QT_QPA_PLATFORM LIBGL_ALWAYS_SOFTWARE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset dev --timeout 300 -L '^gl$'; then
        echo "OpenGL tests failed"
        status=1
    fi
    note_cases
else
    echo "No OpenGL (gl) tests"
fi

# Everything else.
if ! ctest --preset dev --timeout 300 -LE '^gl$'; then
    status=1
fi
note_cases

if [ ${#cases[@]} -gt 0 ]; then
    echo "Test cases that failed or were skipped:"
    printf '  %s\n' "${cases[@]}"
fi
if [ "$status" -ne 0 ]; then
    echo "test.sh: FAILED after ${SECONDS} s"
else
    echo "test.sh: passed in ${SECONDS} s"
fi
exit "$status"
