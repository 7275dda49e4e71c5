#!/usr/bin/env bash
# The file types installed for the desktop name the demo's bank, library and a sample archive by
# their contents as well as by their names, and the desktop entry is valid. Skipped (77) where the
# desktop's tools are missing.
#   FileTypesTest.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1
build_dir=$2
for tool in update-mime-database gio; do
    command -v $tool >/dev/null || { echo "no $tool here: skipped"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/share/mime/packages" "$scratch/home"
cp "$source_dir/data/mime/wloe.xml" "$scratch/share/mime/packages/"
[ -f /usr/share/mime/packages/freedesktop.org.xml ] &&
    cp /usr/share/mime/packages/freedesktop.org.xml "$scratch/share/mime/packages/"
update-mime-database "$scratch/share/mime" >/dev/null 2>&1 || { echo "FAIL: update-mime-database"; exit 1; }

failures=0
type_of() {
    XDG_DATA_HOME=$scratch/home XDG_DATA_DIRS=$scratch/share gio info -a standard::content-type "$1" 2>/dev/null |
        sed -n 's/.*standard::content-type: //p'
}
expect() {
    local got
    got=$(type_of "$2")
    [[ $got == "$1" ]] || { echo "FAIL: $2 is $got, not $1"; failures=$((failures + 1)); }
}
"$build_dir/wloe-cli" convert "$build_dir/demo/pad-c4.wav" "$scratch/pad.sam" || exit 1
expect application/x-wloe-patch "$build_dir/demo.pat"
expect application/x-wloe-layer "$build_dir/Wl.lay"
expect application/x-wloe-sample "$scratch/pad.sam"
# Renamed, a bank and a library are still known by what they hold.
cp "$build_dir/demo.pat" "$scratch/bank.data"
cp "$build_dir/Wl.lay" "$scratch/library.data"
expect application/x-wloe-patch "$scratch/bank.data"
expect application/x-wloe-layer "$scratch/library.data"
# ...and something else named .pat is not taken for a bank.
printf 'not a bank at all, just words\n' >"$scratch/notes.pat"
[[ $(type_of "$scratch/notes.pat") != application/x-wloe-patch ]] || {
    echo "FAIL: a text file taken for a bank"
    failures=$((failures + 1))
}

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$source_dir/data/desktop/wloe.desktop" || failures=$((failures + 1))
fi
((failures == 0)) && echo "file types and desktop entry as expected"
exit $((failures > 0))
