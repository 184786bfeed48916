#!/usr/bin/env bash
# Builds the Debian package build-package/zelva-billing_<version>_<arch>.deb
# (install it with: apt install ./build-package/zelva-billing_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Debian's usual hardening flags (fortified functions, read-only relocations).
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only what goes into the package; the tests are not needed for it.
cmake --build build-package -j2 --target zelva manpage package_changelog
(cd build-package && cpack -G DEB)
ls "$PWD"/build-package/zelva-billing_*.deb
