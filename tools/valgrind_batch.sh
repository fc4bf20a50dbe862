#!/bin/sh
# Batch mode under valgrind's memcheck on a sample of conversions: every mode, the glossary, a
# UTF-16 source, broken multi-byte text, an empty file, a source of several blocks and failing
# runs. Any memcheck error or definite leak fails; tools/valgrind.supp holds the system
# libraries' own reports.   tools/valgrind_batch.sh path/to/morvane
set -eu
program=${1:?usage: $0 path/to/morvane}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" MORVANE_DATA_DIR="$work/shipped" LANG=C
mkdir -p "$XDG_CONFIG_HOME/Morvane" "$MORVANE_DATA_DIR"

# Samples, made with iconv so the script needs nothing of ours.
printf '软件<>軟體\r\n程序<>程式\r\n' | iconv -f UTF-8 -t GBK >"$XDG_CONFIG_HOME/Morvane/GB-BIG5.txt"
printf '中国软件，程序。\r\nabc 123\r\n' | iconv -f UTF-8 -t GBK >"$work/gbk.txt"
printf '中國軟體，程式。\r\n' | iconv -f UTF-8 -t BIG5 >"$work/big5.txt"
printf '\377\376' >"$work/utf16.txt"
printf '中文 UTF-16\r\n' | iconv -f UTF-8 -t UTF-16LE >>"$work/utf16.txt"
printf '\326\320\201 \326\177\244' >"$work/broken.txt"
printf '\377\376\000\330A\000\055' >"$work/broken16.txt"
: >"$work/empty.txt"
# Past two blocks of 1 MiB: 2^17 copies of a 31-byte text.
cp "$work/gbk.txt" "$work/large.txt"
i=0
while [ $i -lt 17 ]; do
    cat "$work/large.txt" "$work/large.txt" >"$work/double.txt"
    mv "$work/double.txt" "$work/large.txt"
    i=$((i + 1))
done

failures=0
run() {
    expected=$1
    shift
    status=0
    valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
        --suppressions="$(dirname "$0")/valgrind.supp" \
        --log-file="$work/valgrind.log" "$program" "$@" >/dev/null 2>&1 || status=$?
    if [ "$status" -ne "$expected" ]; then
        echo "FAILED (exit $status, wanted $expected): morvane $*"
        cat "$work/valgrind.log"
        failures=$((failures + 1))
    else
        echo "ok: morvane $*"
    fi
}

run 0 /B /S "$work/gbk.txt" /D "$work/out1.txt"
run 0 /B /T /S "$work/gbk.txt" /D "$work/out2.txt"
run 0 /G /T /S "$work/big5.txt" /D "$work/out3.txt"
run 0 /G /S "$work/utf16.txt" /D "$work/out4.txt"
run 0 /X 936 65001 /S "$work/broken.txt" /D "$work/out5.txt"
run 0 /X 65001 932 /S "$work/broken16.txt" /D "$work/out6.txt"
run 0 /X 936 50220 /S "$work/gbk.txt" /D "$work/out7.txt"
run 0 /X 950 1200 /S "$work/big5.txt" /D "$work/out8.txt"
run 0 /B /S "$work/empty.txt" /D "$work/out9.txt"
run 0 /B /T /S "$work/large.txt" /D "$work/out10.txt"
run 0 /X 936 950 /S "$work/large.txt" /D "$work/out11.txt"
run 1 /B /S "$work/missing.txt" /D "$work/out12.txt"
run 1 /B /S "$work/gbk.txt" /D "$work/nowhere/out.txt"
run 2 /X 936 /S "$work/gbk.txt" /D "$work/out13.txt"
run 0 --help

[ "$failures" -eq 0 ] || { echo "$failures run(s) failed under memcheck"; exit 1; }
