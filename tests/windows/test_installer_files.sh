#!/usr/bin/env bash
# test_installer_files.sh SOURCE_DIR PROGRAM_NAME VERSION
# Fails, naming each disagreement, when the Windows installer's file list, its
# NSIS script, the toolchain file and the program's libraries tell different stories.
set -uo pipefail
source_dir=$1 program=$2 version=$3
windows=$source_dir/packaging/windows
nsi=$windows/zelva.nsi
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

listed() { grep -v '^\s*\(#\|$\)' "$windows/files.txt" | sort; }
# The NSIS lines of one kind (File "${STAGE}\x" or Delete "$INSTDIR\x"), as paths of files.txt.
nsis_paths() { grep -oP "^\s*$1 \"\Q$2\E\\\\\K[^\"]+" "$nsi" | tr '\\' '/' | sort; }

# 1. The list, the installed files and the removed files are the same files, each once.
listed >"$work/list"
nsis_paths File '${STAGE}' >"$work/installed"
nsis_paths Delete '$INSTDIR' | grep -vx 'uninstall.exe' >"$work/removed"
[ -z "$(uniq -d "$work/list")" ] || fail "files.txt names a file twice: $(uniq -d "$work/list" | tr '\n' ' ')"
diff -u --label files.txt --label "zelva.nsi File" "$work/list" "$work/installed" || fail "zelva.nsi installs other files than files.txt"
diff -u --label files.txt --label "zelva.nsi Delete" "$work/list" "$work/removed" || fail "the uninstaller removes other files than files.txt"
for folder in $(grep / "$work/list" | cut -d/ -f1 | sort -u); do
  grep -qF "RMDir \"\$INSTDIR\\$folder\"" "$nsi" || fail "the uninstaller leaves the folder $folder"
done
grep -qiE 'RMDir /r|APPDATA.*(Delete|RMDir)|(Delete|RMDir).*APPDATA' "$nsi" \
  && fail "the uninstaller deletes more than its own files (the data in %APPDATA% must stay)"

# 2. The program and every library it links is carried.
grep -qx "$program.exe" "$work/list" || fail "files.txt lacks the program $program.exe"
qt_modules=$(sed -n 's/^find_package(Qt6 [0-9.]* REQUIRED COMPONENTS \(.*\))$/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$qt_modules" ] || fail "the Qt modules could not be read from CMakeLists.txt"
for module in $qt_modules; do
  [ "$module" = Test ] && continue # the tests only
  grep -qx "Qt6$module.dll" "$work/list" || fail "the program links Qt6::$module but files.txt lacks Qt6$module.dll"
done
for dll in $(grep '^Qt6.*\.dll$' "$work/list"); do
  module=${dll#Qt6}; module=${module%.dll}
  [[ " $qt_modules " == *" $module "* ]] || fail "files.txt carries $dll, which the program does not link"
done
# The DLL of each library the program takes from pkg-config, CMake's own modules or find_library.
declare -A dll_of=([libsodium]=libsodium-23.dll [xlsxwriter]=libxlsxwriter.dll [libqrencode]=libqrencode.dll [minizip]=libminizip-1.dll [zint]=libzint.dll
                   [SQLite3]=libsqlite3-0.dll [xcb]="")
libraries=$(cat "$source_dir"/CMakeLists.txt "$source_dir"/src/*/CMakeLists.txt |
  sed -n -e 's/^\s*pkg_check_modules([A-Z_]* \(REQUIRED \)\?\(IMPORTED_TARGET \)\?\([A-Za-z0-9_+-]*\).*/\3/p' \
         -e 's/^\s*find_library([A-Z_]* \([A-Za-z0-9_+-]*\).*/\1/p' \
         -e 's/^\s*find_package(\(SQLite3\|[A-Za-z0-9]*\) .*/\1/p' | grep -vx 'Qt6\|PkgConfig' | sort -u)
for library in $libraries; do
  if [ -z "${dll_of[$library]+known}" ]; then
    fail "the program uses $library: add its DLL to files.txt and to this test's table"
  elif [ -n "${dll_of[$library]}" ]; then
    grep -qx "${dll_of[$library]}" "$work/list" || fail "the program uses $library but files.txt lacks ${dll_of[$library]}"
  fi
done
grep -qx 'zlib1.dll' "$work/list" || fail "libxlsxwriter needs zlib1.dll"
for plugin in platforms/qwindows.dll sqldrivers/qsqlite.dll; do
  grep -qx "$plugin" "$work/list" || fail "files.txt lacks the plug-in $plugin"
done

# 3. The toolchain file and the run time carried are the same MinGW-w64 target and thread model.
grep -q '^set(CMAKE_SYSTEM_NAME Windows)' "$toolchain" || fail "the toolchain file does not build for Windows"
grep -q '^set(CMAKE_SYSTEM_PROCESSOR x86_64)' "$toolchain" || fail "the toolchain file does not build for x86_64"
grep -q '^set(ZELVA_MINGW_TRIPLET x86_64-w64-mingw32)' "$toolchain" || fail "the toolchain file names another target"
for compiler in C CXX; do
  grep -q "^set(CMAKE_${compiler}_COMPILER \${ZELVA_MINGW_TRIPLET}-[a-z+]*-posix)" "$toolchain" \
    || fail "the $compiler compiler is not the posix thread model, whose run time files.txt carries"
done
for runtime in libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll; do
  grep -qx "$runtime" "$work/list" || fail "files.txt lacks the MinGW-w64 run time $runtime"
done
grep -qx 'Target amd64-unicode' "$nsi" && grep -q 'PROGRAMFILES64' "$nsi" || fail "zelva.nsi does not install as a 64-bit program"
grep -q "cmake/mingw-w64-x86_64.cmake" "$source_dir/scripts/package-windows.sh" \
  || fail "scripts/package-windows.sh does not build with the toolchain file"

# 4. makensis takes the script: a dry-run installer of empty files, named as listed.
stage=$work/stage
while read -r file; do
  mkdir -p "$stage/$(dirname "$file")"
  : >"$stage/$file"
done <"$work/list"
cp /usr/share/nsis/Contrib/Graphics/Icons/modern-install.ico "$stage/zelva.ico"
if ! makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$work/zelva-dry-run.exe" "$nsi" >"$work/makensis.log" 2>&1; then
  cat "$work/makensis.log"
  fail "makensis refuses zelva.nsi"
elif [ ! -s "$work/zelva-dry-run.exe" ]; then
  fail "makensis wrote no installer"
fi

if [ $failures -gt 0 ]; then
  echo "$failures disagreement(s) in the Windows installer's files"
  exit 1
fi
echo "the Windows installer's list, NSIS script and toolchain agree with the program"
