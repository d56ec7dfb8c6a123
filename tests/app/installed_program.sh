#!/usr/bin/env bash
# Installs the build into a temporary prefix, moves the installed tree to another folder (so that
# no path of the build or of the first prefix can serve), and starts the installed qzedit with
# --report-setup and a fresh home folder: it must find its program folder and its default game in
# the installed tree and set up the product from them.
#   installed_program.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT

"$cmake" --install "$build" --prefix "$temp/first" >"$temp/install.log" || {
    cat "$temp/install.log"
    echo "cmake --install failed"
    exit 1
}
mv "$temp/first" "$temp/moved"
root=$temp/moved
for file in bin/qzedit share/qzedit/new.qze share/qzedit/newvarnok.qze share/qzedit/korvath.dat \
    share/qzedit/tips.txt share/qzedit/help/index.htm share/qzedit/game/resource/res2.gob \
    share/qzedit/game/resource/qzvres.goo; do
    [ -e "$root/$file" ] || { echo "not installed: $file"; exit 1; }
done

mkdir -p "$temp/home"
export HOME=$temp/home XDG_CONFIG_HOME=$temp/home/config
status=0
report=$(cd "$temp/home" && "$root/bin/qzedit" --report-setup) || status=$?
echo "$report"
expect() {
    grep -qxF "$1" <<<"$report" || { echo "expected the line: $1"; exit 1; }
}
expect "program folder: $root/share/qzedit"
expect "game folder: $root/share/qzedit/game"
expect "main archive: $root/share/qzedit/game/resource/res2.gob"
expect "set-up: ok"
if grep -q "$build" <<<"$report"; then
    echo "the installed program uses the build folder $build"
    exit 1
fi
[ "$status" -eq 0 ] || { echo "qzedit --report-setup ended with $status"; exit 1; }
# The report reads the settings and writes none.
if [ -e "$XDG_CONFIG_HOME/Korvath & Varnok Editor" ]; then
    echo "the report wrote settings:"; find "$XDG_CONFIG_HOME" -type f
    exit 1
fi
