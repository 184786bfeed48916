#!/usr/bin/env bash
# Builds the Windows installer build-windows/ZelvaBilling-<version>-setup.exe on
# Debian 12: Debian's MinGW-w64 cross compilers, Qt 6.4.2 and the libraries built
# from Debian's own source packages, and NSIS. What it builds outside the tree is
# kept in ~/.cache/zelva-windows (or $ZELVA_WINDOWS_CACHE) and made again only
# when missing, so the first run takes hours on two cores and later ones minutes.
#
#   scripts/package-windows.sh [STEP...]
#
# Steps, in their order (all of them when none is named): tools sqlite
# sodium qrencode zint xlsxwriter minizip qt program installer. Set ZELVA_NICE=19 to build
# only on idle processor time.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
cache=${ZELVA_WINDOWS_CACHE:-$HOME/.cache/zelva-windows}
triplet=x86_64-w64-mingw32
deps=$cache/deps # the libraries: bin/*.dll, include/, lib/ (import libraries and pkg-config files)
qt=$cache/qt     # Qt 6.4.2 for Windows
jobs=2
nice=(nice -n "${ZELVA_NICE:-0}")
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
mkdir -p "$cache/src" "$cache/build" "$cache/logs" "$cache/done" "$deps/bin" "$deps/include" "$deps/lib/pkgconfig"
# The builds in the cache (and Qt's installed toolchain file, which includes it)
# keep the toolchain file's path: a copy in the cache outlives the clone that ran first.
toolchain=$cache/mingw-w64-x86_64.cmake
cmp -s "$tree/cmake/mingw-w64-x86_64.cmake" "$toolchain" || cp "$tree/cmake/mingw-w64-x86_64.cmake" "$toolchain"

say() { echo "== $(date -u +%H:%M:%S) $*"; }

# Runs a step once: its mark in $cache/done says it was finished. The output
# goes to $cache/logs/STEP.log; on failure its end is shown.
once() {
  local step=$1; shift
  [ -e "$cache/done/$step" ] && return 0
  say "$step (log: $cache/logs/$step.log)"
  # In the background, so that errexit holds inside the step (an if would suspend it).
  local status=0
  ("$@") >"$cache/logs/$step.log" 2>&1 &
  wait $! || status=$?
  if [ $status -ne 0 ]; then
    tail -n 30 "$cache/logs/$step.log"
    echo "package-windows: step $step failed; its log: $cache/logs/$step.log" >&2
    exit 1
  fi
  touch "$cache/done/$step"
}

# --- tools -----------------------------------------------------------------

# A deb-src line for the archive the machine already installs from, so that
# apt-get source brings the very versions of its binary packages.
add_source_archive() {
  if grep -qs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources \
     || grep -qs '^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list; then
    return 0
  fi
  if [ -e /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/zelva-deb-src.sources >/dev/null
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo tee /etc/apt/sources.list.d/zelva-deb-src.list >/dev/null
  fi
}

install_tools() {
  local packages=(g++-mingw-w64-x86-64-posix nsis wine wine64 xvfb xauth xdotool imagemagick poppler-utils
                  cmake ninja-build pkg-config perl tcl dpkg-dev autoconf automake libtool qt6-base-dev qt6-base-dev-tools
                  librsvg2-bin icoutils
                  # the fonts the smoke test gives Wine in place of Windows' own
                  fonts-liberation2
                  # zlib for Windows, which libxlsxwriter needs
                  libz-mingw-w64-dev)
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ] || ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6.4.2'; then
    add_source_archive
    $sudo apt-get update -qq
    [ ${#missing[@]} -eq 0 ] ||
      DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# --- sources -----------------------------------------------------------------

# Unpacks Debian's source package into $cache/src/NAME (with Debian's patches).
# Where the archive lacks the Debian part, the upstream tarball alone is used.
debian_source() {
  local package=$1 name=$2
  [ -d "$cache/src/$name" ] && return 0
  (cd "$cache/src" && "${nice[@]}" apt-get source --download-only -qq "$package" || true)
  local dsc
  dsc=$(ls "$cache/src/${package}"_*.dsc 2>/dev/null | tail -n 1)
  if [ -n "$dsc" ] && (cd "$cache/src" && dpkg-source -x "$dsc" "$name"); then
    return 0
  fi
  local orig
  orig=$(ls "$cache/src/${package}"_*.orig.tar.* 2>/dev/null | head -n 1)
  [ -n "$orig" ] || { echo "no source of $package could be fetched" >&2; return 1; }
  echo "the Debian part of $package is missing from the archive: unpacking $orig without Debian's patches"
  mkdir -p "$cache/src/$name.tmp"
  tar -xf "$orig" -C "$cache/src/$name.tmp"
  mv "$cache/src/$name.tmp"/* "$cache/src/$name"
  rmdir "$cache/src/$name.tmp"
}

# --- libraries ---------------------------------------------------------------

cross_cmake() {
  "${nice[@]}" cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DZELVA_WINDOWS_PREFIX="$deps" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" "$@"
}

# SQLite as one DLL, shared by Qt's SQLite driver and the program (which also
# calls SQLite itself for the backups): both must use the same library.
build_sqlite() {
  debian_source sqlite3 sqlite3
  local build=$cache/build/sqlite3
  rm -rf "$build" && mkdir -p "$build" && cd "$build"
  # The single-file form of the source, made with the tools of this machine.
  "${nice[@]}" "$cache/src/sqlite3/configure" --disable-tcl
  "${nice[@]}" make -j$jobs sqlite3.c
  "${nice[@]}" $triplet-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS5 \
    -DSQLITE_ENABLE_MATH_FUNCTIONS -DSQLITE_SECURE_DELETE -DSQLITE_DQS=0 -c sqlite3.c -o sqlite3.o
  "${nice[@]}" $triplet-gcc-posix -shared -o "$deps/bin/libsqlite3-0.dll" sqlite3.o \
    -Wl,--out-implib,"$deps/lib/libsqlite3.dll.a"
  cp sqlite3.h "$cache/src/sqlite3/src/sqlite3ext.h" "$deps/include/"
}

build_sodium() {
  debian_source libsodium libsodium
  [ -e "$cache/src/libsodium/configure" ] || (cd "$cache/src/libsodium" && "${nice[@]}" autoreconf -fi)
  local build=$cache/build/libsodium
  rm -rf "$build" && mkdir -p "$build" && cd "$build"
  "${nice[@]}" "$cache/src/libsodium/configure" --host=$triplet --prefix="$deps" --disable-static --enable-shared \
    CC=$triplet-gcc-posix
  "${nice[@]}" make -j$jobs install
}

build_qrencode() {
  debian_source qrencode qrencode
  cross_cmake -S "$cache/src/qrencode" -B "$cache/build/qrencode" -DBUILD_SHARED_LIBS=ON -DWITH_TOOLS=OFF \
    -DWITH_TESTS=OFF -DWITHOUT_PNG=ON
  "${nice[@]}" cmake --build "$cache/build/qrencode" -j$jobs --target install
}

# The barcode library of the item labels: its library alone (no PNG, no Qt, no
# command-line tool), whose install step would want the tool too.
build_zint() {
  debian_source zint zint
  local build=$cache/build/zint
  cross_cmake -S "$cache/src/zint" -B "$build" -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF -DZINT_STATIC=OFF
  "${nice[@]}" cmake --build "$build" -j$jobs --target zint
  cp "$build/backend/libzint.dll" "$deps/bin/"
  cp "$build/backend/libzint.dll.a" "$deps/lib/"
  cp "$cache/src/zint/backend/zint.h" "$deps/include/"
}

build_xlsxwriter() {
  debian_source libxlsxwriter libxlsxwriter
  cross_cmake -S "$cache/src/libxlsxwriter" -B "$cache/build/libxlsxwriter" -DBUILD_SHARED_LIBS=ON \
    -DUSE_DTOA_LIBRARY=ON
  "${nice[@]}" cmake --build "$cache/build/libxlsxwriter" -j$jobs --target install
}

# minizip, which reads the .xlsx workbooks of the import: the copy libxlsxwriter's
# source carries (zlib's own contrib/minizip, as Debian's libminizip), as one DLL.
build_minizip() {
  local src=$cache/src/libxlsxwriter/third_party/minizip build=$cache/build/minizip
  rm -rf "$build" && mkdir -p "$build" && cd "$build"
  local part
  for part in ioapi unzip zip iowin32; do
    "${nice[@]}" $triplet-gcc-posix -O2 -c "$src/$part.c" -o "$part.o"
  done
  "${nice[@]}" $triplet-gcc-posix -shared -o "$deps/bin/libminizip-1.dll" ./*.o -lz \
    -Wl,--out-implib,"$deps/lib/libminizip.dll.a"
  mkdir -p "$deps/include/minizip"
  cp "$src"/{ioapi,unzip,zip,iowin32}.h "$deps/include/minizip/"
  printf '%s\n' "prefix=$deps" 'libdir=${prefix}/lib' 'includedir=${prefix}/include' 'Name: minizip' \
    'Description: zip and unzip through zlib' 'Version: 1.2.13' 'Requires.private: zlib' \
    'Libs: -L${libdir} -lminizip' 'Cflags: -I${includedir}/minizip' >"$deps/lib/pkgconfig/minizip.pc"
}

# --- Qt ----------------------------------------------------------------------

# Qt's modules for Windows, with moc, rcc and uic of Debian's qt6-base-dev-tools
# (the same 6.4.2) as the host tools. OpenGL, D-Bus, networking and the drivers
# of other databases are left out: the program uses none of them.
# Tablet (pen) input is off: the Windows platform plug-in reads it through
# wintab.h, which Debian's source leaves out for its licence.
# Dynamic OpenGL is off with OpenGL: left on, the plug-in still calls it.
build_qt() {
  debian_source qt6-base qtbase
  local build=$cache/build/qtbase
  mkdir -p "$build"
  CCACHE_DIR=$cache/ccache "${nice[@]}" cmake -S "$cache/src/qtbase" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZELVA_WINDOWS_PREFIX="$deps" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DQT_USE_CCACHE=ON \
    -DFEATURE_opengl=OFF -DFEATURE_jpeg=OFF -DFEATURE_freetype=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF -DFEATURE_network=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
    -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON \
    -DSQLite3_INCLUDE_DIR="$deps/include" -DSQLite3_LIBRARY="$deps/lib/libsqlite3.dll.a"
  CCACHE_DIR=$cache/ccache "${nice[@]}" cmake --build "$build" --parallel $jobs
  "${nice[@]}" cmake --install "$build"
}

# --- the program -------------------------------------------------------------

version() { sed -n 's/^project(ZelvaBilling VERSION \([0-9.]*\).*/\1/p' "$tree/CMakeLists.txt"; }

build_program() {
  make_icon
  local launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  PKG_CONFIG_LIBDIR=$deps/lib/pkgconfig:/usr/$triplet/lib/pkgconfig PKG_CONFIG_PATH="" \
    "${nice[@]}" cmake -S "$tree" -B "$tree/build-windows" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DZELVA_WINDOWS_PREFIX="$qt;$deps" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt" -DZELVA_WINDOWS_ICON="$tree/build-windows/zelva.ico" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${launcher[@]}" >/dev/null
  "${nice[@]}" cmake --build "$tree/build-windows" -j$jobs --target zelva
}

# --- the installer -----------------------------------------------------------

# Where a file of packaging/windows/files.txt comes from.
origin_of() {
  local file=$1 gcc_lib from
  gcc_lib=$(dirname "$($triplet-gcc-posix -print-libgcc-file-name)")
  case $file in
    zelva.exe) echo "$tree/build-windows/src/app/zelva.exe" ;;
    zelva.ico) echo "$tree/build-windows/zelva.ico" ;;
    copyright.txt) echo "$tree/packaging/copyright" ;;
    Qt6*.dll) echo "$qt/bin/$file" ;;
    */*.dll) echo "$qt/plugins/$file" ;;
    libstdc++-6.dll | libgcc_s_seh-1.dll) echo "$gcc_lib/$file" ;;
    libwinpthread-1.dll | zlib1.dll) echo "/usr/$triplet/lib/$file" ;;
    *.dll) # the first of these that exists, else nothing
      for from in "$deps/bin/$file" "$deps/lib/$file" ""; do [ -z "$from" ] || [ -e "$from" ] && break; done
      echo "$from" ;;
    *) echo "$tree/packaging/windows/$file" ;;
  esac
}

# The program's icon for Windows, in the sizes Explorer and the Start menu use.
make_icon() {
  local pictures=$tree/build-windows/icon
  mkdir -p "$pictures"
  for size in 16 24 32 48 64 256; do
    rsvg-convert -w $size -h $size "$tree/src/shell/icons/24/zelva.svg" -o "$pictures/$size.png"
  done
  # The largest kept as PNG, as Windows reads it, the others as bitmaps.
  icotool -c -o "$tree/build-windows/zelva.ico" "$pictures"/{16,24,32,48,64}.png -r "$pictures/256.png"
}

# Every DLL that a staged program or library loads is staged too, or is part of Windows.
check_imports() {
  local stage=$1 missing=0 dll
  while read -r dll; do
    if [ ! -e "$stage/$dll" ] && ! grep -qixF "$dll" "$tree/packaging/windows/system-dlls.txt"; then
      echo "$dll is loaded but neither staged nor part of Windows" >&2
      missing=1
    fi
  done < <(find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs -d '\n' $triplet-objdump -p |
           sed -n 's/^\s*DLL Name: //p' | sort -uf)
  return $missing
}

make_installer() {
  local stage=$tree/build-windows/stage file from
  rm -rf "$stage" && mkdir -p "$stage"
  while read -r file; do
    case $file in '' | '#'*) continue ;; esac
    from=$(origin_of "$file")
    [ -n "$from" ] && [ -e "$from" ] || { echo "nothing to stage as $file" >&2; return 1; }
    mkdir -p "$stage/$(dirname "$file")"
    cp "$from" "$stage/$file"
  done <"$tree/packaging/windows/files.txt"
  find "$stage" -iname '*.exe' -o -iname '*.dll' | xargs -d '\n' $triplet-strip --strip-unneeded
  check_imports "$stage"
  makensis -V2 -DVERSION="$(version)" -DSTAGE="$stage" \
    -DOUTFILE="$tree/build-windows/ZelvaBilling-$(version)-setup.exe" "$tree/packaging/windows/zelva.nsi"
}

# --- run ---------------------------------------------------------------------

steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(tools sqlite sodium qrencode zint xlsxwriter minizip qt program installer)
for step in "${steps[@]}"; do
  case $step in
    tools) say tools; install_tools ;;
    sqlite) once sqlite build_sqlite ;;
    sodium) once sodium build_sodium ;;
    qrencode) once qrencode build_qrencode ;;
    zint) once zint build_zint ;;
    xlsxwriter) once xlsxwriter build_xlsxwriter ;;
    minizip) once minizip build_minizip ;;
    qt) once qt build_qt ;;
    program) say program; build_program ;;
    installer) say installer; make_installer ;;
    *) echo "package-windows: no step $step" >&2; exit 2 ;;
  esac
done
[[ " ${steps[*]} " == *" installer "* ]] && ls -l "$tree"/build-windows/ZelvaBilling-*-setup.exe
exit 0
