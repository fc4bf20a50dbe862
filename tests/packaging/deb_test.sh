#!/bin/sh
# Builds the Debian package from the build tree into a scratch folder, checks its name, its
# declared dependencies and its file list, unpacks it and runs the batch mode of the program
# inside.
# Usage: deb_test.sh BUILD_DIR VERSION CPACK
set -eu
build=$1 version=$2 cpack=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" HOME="$scratch/home"
mkdir -p "$HOME"

fail() { echo "FAIL: $*" >&2; exit 1; }

# -B keeps the package and CPack's work files out of the build folder.
"$cpack" --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$scratch/out/morvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$scratch/out" >&2; fail "no $(basename "$deb")"; }

dpkg-deb -I "$deb" >"$scratch/info"
field() { sed -n "s/^ $1: //p" "$scratch/info"; }
[ "$(field Package)" = morvane ] || fail "package name: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version: $(field Version)"
depends=$(field Depends)
for needed in libqt6widgets6 libc6 qt6-qpa-plugins fonts-noto-cjk; do
    echo "$depends" | grep -q "\\b$needed\\b" || fail "Depends lacks $needed: $depends"
done

# Everything under /usr and owned by root, so apt can install and remove it cleanly.
dpkg-deb -c "$deb" >"$scratch/contents"
outside=$(awk '$6 !~ /^\.\/(usr\/.*)?$/ {print $6}' "$scratch/contents")
[ -z "$outside" ] || fail "files outside /usr: $outside"
owners=$(awk '$2 != "root/root" {print $6}' "$scratch/contents")
[ -z "$owners" ] || fail "files not owned by root: $owners"
for file in usr/bin/morvane usr/share/applications/morvane.desktop \
    usr/share/metainfo/io.github.morvane.Morvane.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/morvane.svg \
    usr/share/icons/hicolor/48x48/apps/morvane.png usr/share/man/man1/morvane.1.gz; do
    grep -q " \./$file\$" "$scratch/contents" || fail "not in the package: $file"
done

dpkg -x "$deb" "$scratch/root"
program=$scratch/root/usr/bin/morvane
printf '\344\270\255\346\226\207 text\n' >"$scratch/utf8.txt"           # "中文 text" in UTF-8
printf '\326\320\316\304 text\n' >"$scratch/expected.txt"               # the same in GBK
"$program" /X 65001 936 /S "$scratch/utf8.txt" /D "$scratch/gbk.txt" ||
    fail "the packaged program's batch conversion exited with $?"
cmp "$scratch/expected.txt" "$scratch/gbk.txt" || fail "batch conversion wrote the wrong bytes"
echo "$(basename "$deb"): name, Depends, contents and batch mode fine"
