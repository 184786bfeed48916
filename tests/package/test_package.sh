#!/usr/bin/env bash
# The Debian package as a shop installs it, made by CPack from this build
# tree: its files at their paths and nothing outside /usr, its name, version
# and declared dependencies, no lintian errors, a valid desktop entry and
# AppStream metadata, a manual page that tells every option of --help, and a
# packaged program that runs.
# Usage: test_package.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 app_id=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in cpack dpkg-deb dpkg-shlibdeps objdump lintian desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; run scripts/setup.sh"; exit 1; }
done

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
debs=("$work"/zelva-billing_"$version"_*.deb)
[ -f "${debs[0]}" ] || { ls "$work"; echo "FAIL: no zelva-billing_${version}_*.deb"; exit 1; }
deb=${debs[0]}

# Files: dpkg-deb -c lists "./usr/bin/zelva"; directories end in "/".
files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$')
for path in ./usr/bin/zelva \
            "./usr/share/applications/$app_id.desktop" \
            "./usr/share/metainfo/$app_id.metainfo.xml" \
            "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" \
            ./usr/share/man/man1/zelva.1.gz \
            ./usr/share/doc/zelva-billing/copyright \
            ./usr/share/doc/zelva-billing/changelog.gz; do
  grep -qxF "$path" <<<"$files" || fail "$path is not in the package"
done
outside=$(grep -v '^\./usr/' <<<"$files" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ "$(wc -l <<<"$files")" -eq 7 ] || fail "unexpected files: $files"

# Control fields.
[ "$(dpkg-deb -f "$deb" Package)" = zelva-billing ] || fail "package name $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -I "$deb" | sed -n 's/^ Depends: //p' | tr ',' '\n' | sed 's/^ *//; s/ .*//')
# What Qt loads at run time and the fonts, named by hand...
for dep in libqt6sql6-sqlite libqt6svg6 qt6-qpa-plugins fonts-liberation2 fonts-dejavu-core; do
  grep -qxF "$dep" <<<"$depends" || fail "Depends lacks $dep: $(dpkg-deb -f "$deb" Depends)"
done
# ...and the package of every library the program links (Qt, libsodium, libc).
for lib in $(objdump -p "$build/src/app/zelva" | awk '/NEEDED/ { print $2 }'); do
  owners=$(dpkg -S "*/$lib" 2>/dev/null | cut -d: -f1 | tr ',' '\n' | sed 's/^ *//' | sort -u)
  grep -qxFf <(printf '%s\n' "$owners") <<<"$depends" || fail "Depends lacks the package of $lib ($owners)"
done

# Lintian: errors fail; warnings are shown.
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1; then
  fail "lintian reports errors"
fi
cat "$work/lintian.log"

# The installed files themselves.
root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
grep -qxF "Icon=$app_id" "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry names another icon"
grep -qx 'Exec=zelva.*' "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry starts another program"

# The packaged program runs and knows its version; the manual page, made from
# its --help, describes every option that --help lists.
program=$root/usr/bin/zelva
"$program" --version | grep -qxF "Zelva Billing System $version" || fail "zelva --version: $("$program" --version)"
manual=$(MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/zelva.1.gz" 2>"$work/man.log" | col -b)
[ ! -s "$work/man.log" ] || fail "man warns: $(cat "$work/man.log")"
for option in $("$program" --help | grep -oE -- '--[a-z-]+' | sort -u); do
  grep -qF -- "$option" <<<"$manual" || fail "the manual page lacks $option"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package $(basename "$deb") passes"
