#!/usr/bin/env bash
# Test programs that run side by side keep to temporary folders of their own: folders that another
# run holds under the names the tests once took are left alone, and the tests leave nothing behind.
#   temp_folders_are_private.sh QZ_TEST_FRAMEWORK QZ_TEST_LEVEL
set -euo pipefail
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
export TMPDIR=$temp
others=(qz_fileio_test qz_levelarchive_test qz_test_locales)
for name in "${others[@]}"; do
    mkdir "$temp/$name"
    echo "another run" >"$temp/$name/its-file"
done

"$1" --gtest_filter='FileIO.*:CFormat.*'
"$2" --gtest_filter='LevelArchive.FilesOnDisk'

status=0
for name in "${others[@]}"; do
    if [ ! -f "$temp/$name/its-file" ]; then
        echo "the tests took the folder $name of another run"
        status=1
    fi
done
left=$(find "$temp" -mindepth 1 -maxdepth 1 -printf '%f\n' | grep -vxF -f <(printf '%s\n' "${others[@]}") || true)
if [ -n "$left" ]; then
    echo "left behind in the temporary folder: $left"
    status=1
fi
exit "$status"
