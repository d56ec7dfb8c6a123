#!/usr/bin/env bash
# Builds QzEdit as it is built on machines that lack a library, and checks the result (CI runs it
# after test.sh). Only the targets each case needs are built, without sanitizers or optimisation:
#   build/no-openal  OpenAL hidden from CMake: qzedit builds, and starts with the silent sound
#                    device and sets up the product (qzedit --report-setup);
#   build/no-qt      Qt hidden from CMake and QZ_BUILD_APP=OFF: the core, its tests and qzbench
#                    build, qzbench takes jemalloc on huge pages for its heap, and the core tests
#                    pass.
# Exits non-zero when any of it fails. Warnings are errors when CI is set, as in test.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/prepare.sh"
common=(-G Ninja -DCMAKE_BUILD_TYPE= -DQZ_SANITIZE=OFF -DQZ_WERROR="$werror")
jobs=$(nproc)

echo "== Without OpenAL: build/no-openal"
cmake -S . -B build/no-openal "${common[@]}" -DCMAKE_DISABLE_FIND_PACKAGE_OpenAL=ON \
    -DQZ_BUILD_TESTS=OFF >build/no-openal.configure.log 2>&1 || {
    cat build/no-openal.configure.log
    exit 1
}
grep -F "OpenAL not found" build/no-openal.configure.log
cmake --build build/no-openal --parallel "$jobs" --target qzedit
exe=build/no-openal/src/app/qzedit
if ldd "$exe" | grep -qi openal; then
    echo "qzedit of build/no-openal links OpenAL"
    exit 1
fi
if ! ldd "$exe" | grep -q libjemalloc; then
    echo "qzedit of build/no-openal does not take jemalloc for its heap"
    exit 1
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
report=$(HOME=$home XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen "$exe" --report-setup)
echo "$report"
grep -qxF "sound device: silent" <<<"$report" || { echo "no silent sound device"; exit 1; }
grep -qxF "set-up: ok" <<<"$report" || { echo "the product was not set up"; exit 1; }

echo "== Without Qt: build/no-qt"
cmake -S . -B build/no-qt "${common[@]}" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DQZ_BUILD_APP=OFF \
    >build/no-qt.configure.log 2>&1 || {
    cat build/no-qt.configure.log
    exit 1
}
grep -F "Qt 6 not found" build/no-qt.configure.log
cmake --build build/no-qt --parallel "$jobs"
for target in qzbench qzgame; do
    [ -x "build/no-qt/bench/$target" ] || { echo "build/no-qt has no $target"; exit 1; }
done
if ldd build/no-qt/bench/qzbench | grep -qi qt6; then
    echo "qzbench of build/no-qt links Qt"
    exit 1
fi
# Builds without the sanitizers take jemalloc for the heap, set for transparent huge pages.
heap=$(MALLOC_CONF=stats_print:true build/no-qt/bench/qzbench generate 10 "$home/ten.qze" 2>&1)
# (A kernel without transparent huge pages leaves jemalloc's setting at "not supported".)
if ! grep -qE 'opt\.thp: "(always|not supported)"' <<<"$heap"; then
    echo "qzbench of build/no-qt does not take jemalloc on transparent huge pages"
    exit 1
fi
ctest --test-dir build/no-qt --output-on-failure --timeout 300 -j "$jobs"
echo "variant-builds.sh: passed"
