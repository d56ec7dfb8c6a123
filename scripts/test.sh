#!/usr/bin/env bash
# Installs what is missing, builds the "dev" preset (Debug, AddressSanitizer and
# UndefinedBehaviorSanitizer; -Werror when CI is set) and runs every test:
#   - tests labelled "gl" under Xvfb with Mesa's software renderer,
#   - all the others directly, with the offscreen Qt platform.
# The two groups run at the same time. Each CTest entry runs a test program, or a shard of one, with
# many GoogleTest cases; the cases that failed or were skipped are named once more at the end.
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
results=$PWD/build/dev/Testing/results
mkdir -p "$results"
rm -f "$results"/*
# Every test's whole output goes into the JUnit files; the cases are read from there.
ctest_run=(ctest --preset dev --timeout 300 --test-output-size-passed 4000000
    --test-output-size-failed 4000000)

# OpenGL tests (only when there are some) on a display of their own under Xvfb, at the same time as
# the others: nothing else uses that display, and those that must have it to themselves still run
# alone on it (qz_test_editor is RUN_SERIAL in that run).
gl_count=$(ctest --preset dev -N -L '^gl$' | sed -n 's/^Total Tests: *\([0-9]*\).*/\1/p')
gl_pid=
if [ "${gl_count:-0}" -gt 0 ]; then
    echo "Running ${gl_count} OpenGL test(s) under Xvfb beside the others"
    env -u QT_QPA_PLATFORM LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
        "${ctest_run[@]}" -L '^gl$' --output-junit "$results/gl.xml" >"$results/gl.log" 2>&1 &
    gl_pid=$!
else
    echo "No OpenGL (gl) tests"
fi

# Everything else.
if ! "${ctest_run[@]}" -LE '^gl$' --output-junit "$results/other.xml"; then
    status=1
fi

if [ -n "$gl_pid" ]; then
    gl_status=0
    wait "$gl_pid" || gl_status=$?
    echo "---- OpenGL tests under Xvfb"
    cat "$results/gl.log"
    if [ "$gl_status" -ne 0 ]; then
        echo "OpenGL tests failed"
        status=1
    fi
fi

# The GoogleTest cases that failed in a failed CTest entry, or were skipped, each with its entry.
cases=()
for xml in "$results"/*.xml; do
    [ -f "$xml" ] || continue
    mapfile -t -O "${#cases[@]}" cases < <(awk '
        /<testcase name="/ { entry = $0; sub(/.*<testcase name="/, "", entry); sub(/".*/, "", entry)
                             failed = ($0 ~ /status="fail"/) }
        /^\[  SKIPPED \] [A-Za-z_][A-Za-z0-9_\/]*\.[A-Za-z0-9_\/]+/ { print entry ": " $4 " skipped" }
        /^\[  FAILED  \] [A-Za-z_][A-Za-z0-9_\/]*\.[A-Za-z0-9_\/]+/ { if (failed) print entry ": " $4 " failed" }
    ' "$xml" | sort -u)
done
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
