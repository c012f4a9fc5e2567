#!/bin/sh
# Builds the Debian package into a scratch folder and checks that it holds the program, the
# command-line front end and its drawing module, the guide, the manual pages, the copyright and
# changelog, the desktop integration, and the scripts that register the file type on installation; then lintian finds no
# error and no warning in it. Exit status 77: dpkg-deb is missing, skipped. lintian takes a
# while, so it runs only when KRADON_LINTIAN=1 (tools/test.sh sets it); it must be installed then.
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
for file in ./usr/bin/kradon ./usr/bin/kradon-cli ./usr/lib/kradon/kradon-cli-painter.so \
            ./usr/share/kradon/Kradon.html ./usr/share/kradon/TOTD.INI \
            ./usr/share/applications/kradon.desktop ./usr/share/mime/packages/kradon.xml \
            ./usr/share/icons/hicolor/scalable/apps/kradon.svg \
            ./usr/share/man/man1/kradon.1.gz ./usr/share/man/man1/kradon-cli.1.gz \
            ./usr/share/doc/kradon/copyright ./usr/share/doc/kradon/changelog.gz; do
    grep -qx "$file" "$work/contents" || fail "$file is not in $(basename "$package")"
done
dpkg-deb --ctrl-tarfile "$package" | tar -tf - >"$work/control"
grep -qx './postinst' "$work/control" || fail "no postinst"
dpkg-deb --info "$package" postinst | grep -q update-mime-database || fail "postinst"
if [ "${KRADON_LINTIAN:-0}" = 1 ]; then
    command -v lintian >/dev/null 2>&1 || fail "lintian is not installed"
    lintian --fail-on error,warning "$package" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian"; }
    # Anything lintian reports at the levels it fails on is a failure, whatever its version.
    if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian"; fi
    echo "lintian: no error, no warning"
fi
echo "$(basename "$package"): $(wc -l <"$work/contents") entries"
