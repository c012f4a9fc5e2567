#!/bin/sh
# Installs the build into a scratch prefix, points every XDG folder into the scratch folder and
# asks the desktop's own tools what a model file is and which program opens it. Nothing outside
# the scratch folder is read or written. Exit status 77: the tools are missing, skipped.
# Usage: desktop-integration.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
# Without a desktop session xdg-mime asks mimetype (File::MimeInfo) for a file's type.
for tool in xdg-mime mimetype update-mime-database update-desktop-database; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kradon-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
share=$prefix/share
mkdir -p "$work/home/.local/share" "$work/home/.config" "$work/etc/xdg"

fail() { echo "FAILED: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/kradon bin/kradon-cli lib/kradon/kradon-cli-painter.so \
            share/kradon/Kradon.html share/kradon/TOTD.INI \
            share/applications/kradon.desktop \
            share/mime/packages/kradon.xml share/icons/hicolor/scalable/apps/kradon.svg; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
# The installed kradon-cli finds its drawing module in lib/kradon.
"$prefix/bin/kradon-cli" analyse "$source/examples/cantilever.kdn" --picture "bmd:$work/bmd.png" \
    >/dev/null || fail "the installed kradon-cli cannot draw a PNG"
[ -s "$work/bmd.png" ] || fail "no PNG from the installed kradon-cli"
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$share/applications/kradon.desktop" || fail "invalid desktop entry"
fi

# A clean environment: no desktop is detected, so xdg-mime uses the freedesktop.org databases.
desktop() {
    env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" \
        XDG_DATA_DIRS="$share" XDG_CONFIG_HOME="$work/home/.config" \
        XDG_CONFIG_DIRS="$work/etc/xdg" "$@"
}

desktop update-mime-database "$share/mime"
desktop update-desktop-database -q "$share/applications"

type=$(desktop xdg-mime query filetype "$source/examples/cantilever.kdn")
[ "$type" = application/x-kradon-file ] || fail "a model file is '$type'"
application=$(desktop xdg-mime query default "$type")
[ "$application" = kradon.desktop ] || fail "'$application' opens $type"
echo "$type, opened by $application"
type=$(desktop xdg-mime query filetype "$source/examples/three-span-patterned.kradon.json")
[ "$type" = application/x-kradon-model+json ] || fail "a JSON model is '$type'"
application=$(desktop xdg-mime query default "$type")
[ "$application" = kradon.desktop ] || fail "'$application' opens $type"
echo "$type, opened by $application"
