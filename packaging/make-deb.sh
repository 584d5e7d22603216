#!/usr/bin/env bash
# Builds the Debian package of tessary-x11 from a build of it:
#   packaging/make-deb.sh BUILD_DIR OUT_DIR
# BUILD_DIR holds tessary-x11 and its settings file tessary.xml (the native or
# release preset); the package, OUT_DIR/tessary-x11_<version>-1_<arch>.deb, is
# printed on the last line. It installs the hack into XScreenSaver's hack
# folder, its settings file where xscreensaver-settings reads it, the manual
# page, the read-me and the copyright; its Depends come from dpkg-shlibdeps.
# The maintainer scripts (packaging/deb) add Tessary to XScreenSaver's list.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 out=$2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "make-deb: no project version in $build" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb=$out/tessary-x11_$version-1_$arch.deb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage doc=$work/stage/usr/share/doc/tessary-x11

umask 022
install -d "$stage/DEBIAN" "$stage/usr/libexec/xscreensaver" "$stage/usr/share/xscreensaver/config" \
  "$stage/usr/share/man/man6" "$doc"
install -m 755 "$build/tessary-x11" "$stage/usr/libexec/xscreensaver/tessary-x11"
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
  "$stage/usr/libexec/xscreensaver/tessary-x11"
install -m 644 "$build/tessary.xml" "$stage/usr/share/xscreensaver/config/tessary-x11.xml"
gzip -9n <"$here/../src/x11/tessary-x11.6" >"$stage/usr/share/man/man6/tessary-x11.6.gz"
gzip -9n <"$here/../README.md" >"$doc/README.md.gz"
install -m 644 "$here/deb/copyright" "$doc/copyright"
stamp=$(git -C "$here" log -1 --format=%cD 2>/dev/null || date -R)
printf '%s\n' "tessary-x11 ($version-1) unstable; urgency=medium" "" \
  "  * Release $version of the Tessary calendar screen saver for XScreenSaver." "" \
  " -- Tessary Project <tessary@example.org>  $stamp" | gzip -9n >"$doc/changelog.Debian.gz"
chmod 644 "$stage/usr/share/man/man6/tessary-x11.6.gz" "$doc"/*.gz

# dpkg-shlibdeps reads the package names from a debian/control.
mkdir -p "$work/src/debian"
printf 'Source: tessary\n\nPackage: tessary-x11\nArchitecture: any\n' >"$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O "$stage/usr/libexec/xscreensaver/tessary-x11" |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
size=$(du -sk --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version-1/" -e "s/@ARCH@/$arch/" -e "s/@DEPENDS@/$depends/" \
  -e "s/@SIZE@/$size/" "$here/deb/control" >"$stage/DEBIAN/control"
install -m 755 "$here/deb/postinst" "$here/deb/postrm" "$stage/DEBIAN/"
install -m 644 "$here/deb/triggers" "$stage/DEBIAN/"
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/md5sums"
mkdir -p "$out"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
