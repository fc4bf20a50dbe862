#!/bin/sh
# Installs the build into a scratch prefix and checks what a desktop user gets from it: the
# program runs from there, and the menu entry, icons, AppStream data and manual are in place
# and valid.
# Usage: install_test.sh BUILD_DIR VERSION SOURCE_DIR CMAKE
set -eu
build=$1 version=$2 source=$3 cmake=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
# The program reads its glossary from here; keep the tester's own out of the way.
export XDG_CONFIG_HOME="$scratch/config" HOME="$scratch/home"
mkdir -p "$HOME"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" ||
    { cat "$scratch/install.log" >&2; fail "cmake --install"; }

metainfo=share/metainfo/io.github.morvane.Morvane.metainfo.xml
expected="bin/morvane share/applications/morvane.desktop $metainfo
share/icons/hicolor/scalable/apps/morvane.svg share/man/man1/morvane.1.gz"
for size in 16 22 24 32 48 64 128 256; do
    expected="$expected share/icons/hicolor/${size}x$size/apps/morvane.png"
done
# The shipped glossary is installed once it has been generated.
[ -f "$source/engine/data/GB-BIG5.txt" ] && expected="$expected share/morvane/GB-BIG5.txt"
for file in $expected; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
[ -x "$prefix/bin/morvane" ] || fail "bin/morvane is not executable"
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x$size/apps/morvane.png
    # Bytes 16-23 of a PNG are its width and height, 4 bytes each, big-endian.
    dims=$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //; s/ $//')
    [ "$dims" = "$size $size" ] || fail "$png is not ${size}x$size: $dims"
done

# The installed program, not the build tree's.
[ "$("$prefix/bin/morvane" --version)" = "morvane $version" ] || fail "--version"
printf '\344\270\255\346\226\207 text\n' >"$scratch/utf8.txt"           # "中文 text" in UTF-8
printf '\326\320\316\304 text\n' >"$scratch/expected.txt"               # the same in GBK
"$prefix/bin/morvane" /X 65001 936 /S "$scratch/utf8.txt" /D "$scratch/gbk.txt" ||
    fail "batch conversion exited with $?"
cmp "$scratch/expected.txt" "$scratch/gbk.txt" || fail "batch conversion wrote the wrong bytes"

# Any argument would start batch mode, so the menu must start the program with none.
desktop=$prefix/share/applications/morvane.desktop
grep -qx 'Exec=morvane' "$desktop" || fail "the menu entry must run plain 'morvane'"
grep -qx 'Icon=morvane' "$desktop" || fail "the menu entry's icon is not the installed one"
grep -q '<launchable type="desktop-id">morvane.desktop</launchable>' "$prefix/$metainfo" ||
    fail "the AppStream data does not launch morvane.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/$metainfo" || fail "appstreamcli validate"

# The release list and the manual's header name the version; a new version must update both.
grep -q "<release version=\"$version\"" "$prefix/$metainfo" ||
    fail "the AppStream data has no release $version"
zcat "$prefix/share/man/man1/morvane.1.gz" >"$scratch/morvane.1"
grep -q "^\.TH MORVANE 1 .*\"Morvane $version\"" "$scratch/morvane.1" ||
    fail "the manual's header does not name version $version"
warnings=$(groff -man -ww -z "$scratch/morvane.1" 2>&1)
[ -z "$warnings" ] || fail "the manual does not render cleanly: $warnings"
echo "installed files, program, menu entry, AppStream data and manual: all fine"
