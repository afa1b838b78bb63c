#!/bin/bash
# Makes what a user downloads, in dist/: pemconv-<version>-win32.zip (the 32-bit PemConv.exe and
# pem2txt.exe) and pemconv-<version>-linux-<machine>.tar.gz (pem2txt), each with README.txt and the
# licence. Then checks that each archive holds exactly those files, and that pem2txt and the version
# information of both executables name the version of project() in CMakeLists.txt. Usage: tools/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
dist=$PWD/dist
mkdir -p "$dist"

package() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
  (cd "build/$1" && cpack -B "$dist" >/dev/null)
  rm -rf "$dist/_CPack_Packages"
}

version=$(sed -n 's/^project(pemconv VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }

package win32-release
package native-release

# Fails unless the archive holds exactly the files given (besides its top folder).
expect_contents() {
  local archive=$1 top=$2
  shift 2
  local want got
  want=$(printf "$top/%s\n" "$@" | sort)
  got=$(cmake -E tar tf "$archive" | sed 's|/$||' | grep -v "^$top\$" | sort)
  if [ "$want" != "$got" ]; then
    echo "release: $archive holds:" >&2
    echo "$got" >&2
    exit 1
  fi
}

machine=$(uname -m)
zip=$dist/pemconv-$version-win32.zip
tgz=$dist/pemconv-$version-linux-$machine.tar.gz
expect_contents "$zip" "pemconv-$version-win32" PemConv.exe pem2txt.exe README.txt LICENSE.txt
expect_contents "$tgz" "pemconv-$version-linux-$machine" pem2txt README.txt LICENSE

check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
tar -xzf "$tgz" -C "$check"
shown=$("$check/pemconv-$version-linux-$machine/pem2txt" --version)
[ "$shown" = "pem2txt $version" ] || { echo "release: pem2txt says '$shown'" >&2; exit 1; }
(cd "$check" && cmake -E tar xf "$zip")
file "$check/pemconv-$version-win32/PemConv.exe" | grep -q 'PE32 executable (GUI) Intel 80386' ||
  { echo "release: PemConv.exe in the ZIP is not the 32-bit GUI program" >&2; exit 1; }
file "$check/pemconv-$version-win32/pem2txt.exe" | grep -q 'PE32 executable (console) Intel 80386' ||
  { echo "release: pem2txt.exe in the ZIP is not the 32-bit console program" >&2; exit 1; }

# The version information's texts are UTF-16 in the resources: FileVersion and ProductVersion.
for exe in PemConv.exe pem2txt.exe; do
  [ "$(strings -e l "$check/pemconv-$version-win32/$exe" | grep -cx "$version")" -ge 2 ] ||
    { echo "release: $exe carries no version information $version" >&2; exit 1; }
done

echo "release: $zip"
echo "release: $tgz"
