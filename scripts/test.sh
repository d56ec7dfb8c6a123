#!/usr/bin/env bash
# Installs what is missing, builds the "dev" preset (Debug, AddressSanitizer and
# UndefinedBehaviorSanitizer; -Werror when CI is set) and runs every test:
#   - tests labelled "gl" under Xvfb with Mesa's software renderer,
#   - all the others directly, with the offscreen Qt platform.
# Exits non-zero when the build or any test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh

# -Werror in the CI build (CI set to anything but empty/0/false); always passed explicitly so that
# a local run after a CI run in the same tree goes back to OFF.
case "${CI:-}" in
    "" | 0 | false | FALSE | False | no) werror=OFF ;;
    *) werror=ON ;;
esac

cmake --preset dev -DQZ_WERROR="$werror"
cmake --build --preset dev --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Sanitizer reports must fail the test; UBSan is already non-recoverable.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0

# OpenGL tests: only when there are some.
gl_count=$(ctest --preset dev -N -L '^gl$' | sed -n 's/^Total Tests: *\([0-9]*\).*/\1/p')
if [ "${gl_count:-0}" -gt 0 ]; then
    echo "Running ${gl_count} OpenGL test(s) under Xvfb"
    if ! env -u QT_QPA_PLATFORM LIBGL_ALWAYS_SOFTWARE=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset dev --timeout 300 -L '^gl$'; then
        echo "OpenGL tests failed"
        status=1
    fi
else
    echo "No OpenGL (gl) tests"
fi

# Everything else; its summary line closes the output.
if ! ctest --preset dev --timeout 300 -LE '^gl$'; then
    status=1
fi

if [ "$status" -ne 0 ]; then
    echo "test.sh: FAILED"
fi
exit "$status"
