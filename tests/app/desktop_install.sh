#!/usr/bin/env bash
# `cmake --install` into a temporary prefix gives the desktop's view of the program: the entry
# (valid for desktop-file-validate, with no warning), the program's icon in the hicolor theme and
# the level file types, which update-mime-database accepts and maps .qze and .qzl names to.
#   desktop_install.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
prefix=$temp/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$temp/install.log" || {
    cat "$temp/install.log"
    echo "cmake --install failed"
    exit 1
}
entry=$prefix/share/applications/qzedit.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/qzedit.svg
types=$prefix/share/mime/packages/qzedit.xml
for file in "$entry" "$icon" "$types"; do
    [ -s "$file" ] || { echo "not installed: ${file#"$prefix"/}"; exit 1; }
done

# Hints count as faults too: the entry is to validate clean.
validation=$(desktop-file-validate "$entry" 2>&1) || { echo "$validation"; exit 1; }
if [ -n "$validation" ]; then
    echo "$validation"
    exit 1
fi
expect_key() {
    grep -qxF "$1" "$entry" || { echo "the entry lacks the line: $1"; exit 1; }
}
expect_key "Exec=qzedit %F"
expect_key "Icon=qzedit"
expect_key "MimeType=application/x-qzedit-level;application/x-korvath-level;"
grep -q '<svg' "$icon" || { echo "the icon is no SVG file"; exit 1; }

# The prefix is made one of the data folders, so that the tool has no note about its path.
output=$(XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" 2>&1) || { echo "$output"; exit 1; }
if [ -n "$output" ]; then
    # update-mime-database prints its complaints about the XML and goes on.
    echo "update-mime-database: $output"
    exit 1
fi
globs=$prefix/share/mime/globs2
[ -s "$globs" ] || { echo "update-mime-database wrote no globs2"; exit 1; }
expect_glob() {
    grep -qE "^[0-9]+:$1:\\*\\.$2(:|\$)" "$globs" || {
        echo "*.$2 is not mapped to $1:"; cat "$globs"; exit 1
    }
}
expect_glob application/x-qzedit-level qze
expect_glob application/x-korvath-level qzl
grep -qxF "application/x-korvath-level text/plain" "$prefix/share/mime/subclasses" || {
    echo "the text level is not a kind of text/plain"; exit 1
}
for type in application/x-qzedit-level:"QzEdit level" application/x-korvath-level:"Korvath level"; do
    file=$prefix/share/mime/${type%%:*}.xml
    grep -qF "<comment>${type#*:}</comment>" "$file" || { echo "no comment in $file"; exit 1; }
done
echo "installed: ${entry#"$prefix"/} ${icon#"$prefix"/} ${types#"$prefix"/}"
