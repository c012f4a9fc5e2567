#!/bin/sh
# Builds the Debian package into a scratch folder and checks that it holds the program, the
# command-line front end, the guide and the desktop integration, and the scripts that register
# the file type on installation. Exit status 77: dpkg-deb is missing, skipped.
# Usage: package-contents.sh BUILD_DIR
set -eu
build=$1
command -v dpkg-deb >/dev/null 2>&1 || { echo "dpkg-deb is not installed: skipped"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kradon-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
package=$(ls "$work"/kradon_*.deb)
dpkg-deb --contents "$package" | awk '{ print $6 }' >"$work/contents"
for file in ./usr/bin/kradon ./usr/bin/kradon-cli ./usr/share/kradon/Kradon.html \
            ./usr/share/applications/kradon.desktop ./usr/share/mime/packages/kradon.xml \
            ./usr/share/icons/hicolor/scalable/apps/kradon.svg; do
    grep -qx "$file" "$work/contents" || fail "$file is not in $(basename "$package")"
done
dpkg-deb --ctrl-tarfile "$package" | tar -tf - >"$work/control"
grep -qx './postinst' "$work/control" || fail "no postinst"
dpkg-deb --info "$package" postinst | grep -q update-mime-database || fail "postinst"
echo "$(basename "$package"): $(wc -l <"$work/contents") entries"
