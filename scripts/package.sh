#!/usr/bin/env bash
# Builds the Debian package build-package/zelva-billing_<version>_<arch>.deb
# (install it with: apt install ./build-package/zelva-billing_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Debian's hardening flags (fortified functions, stack protector, read-only
# relocations bound at start), given on every run so a rebuild keeps them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)" >/dev/null
# Only what goes into the package; the tests are not needed for it.
cmake --build build-package -j2 --target zelva manpage package_changelog
(cd build-package && cpack -G DEB)
ls "$PWD"/build-package/zelva-billing_*.deb
