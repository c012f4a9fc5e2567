#!/bin/sh
# kradon-cli starts without the window-system stack and loads its drawing module only for a PNG
# or a PDF: ldd lists no Qt, X11, EGL or fontconfig library; a copy of the program without the
# module still writes its report and SVG pictures and refuses a PNG with the reason.
# Usage: drawing-module.sh KRADON_CLI MODEL
set -eu
cli=$1
model=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kradon-module.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

libraries=$(ldd "$cli")
echo "$libraries" | grep -q 'libc\.so' || fail "ldd listed nothing for $cli"
if echo "$libraries" | grep -E 'libQt6|libX11|libxcb|libEGL|libGL|libfontconfig|libfreetype|libharfbuzz|libicu'; then
    fail "$cli loads the libraries above at start-up"
fi

cp "$cli" "$work/kradon-cli"
status=0
"$work/kradon-cli" analyse "$model" --report "$work/report.txt" --picture "bmd:$work/bmd.svg" \
    --picture "sfd:$work/sfd.png" 2>"$work/err" || status=$?
[ "$status" = 3 ] || fail "exit status $status without the module"
expected="SavePictureFile: Cannot write the picture file $work/sfd.png: PNG pictures need Kradon's drawing library, which cannot be loaded: kradon-cli-painter.so is missing (looked for $work/kradon-cli-painter.so or"
grep -qF "$expected" "$work/err" || { cat "$work/err"; fail "message without the module"; }
[ "$(wc -l <"$work/err")" = 1 ] || { cat "$work/err"; fail "more than one message"; }
grep -q 'FINITE ELEMENT BEAM ANALYSIS RESULTS' "$work/report.txt" || fail "no report"
grep -q '<svg' "$work/bmd.svg" || fail "no SVG picture"
[ ! -e "$work/sfd.png" ] || fail "a PNG without the module"
echo "no window-system library; without the module: report, SVG, and the PNG refused"
