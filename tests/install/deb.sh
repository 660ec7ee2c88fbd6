#!/usr/bin/env bash
# Builds the Debian package with cpack, checks its control fields, unpacks it
# and checks what it installs.
#
#   deb.sh CPACK BUILD_DIR VERSION SUMMARY SOURCE_DIR MAN_PAGE BINDIR MANDIR DOCDIR
#
# VERSION and SUMMARY are those of project(); the package installs below /usr.
set -u
cpack=$1 build_dir=$2 version=$3 summary=$4
shift 4

for tool in dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is needed to build the package (Debian: dpkg-dev and file)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The package and cpack's staging stay in the scratch folder, out of the
# build folder.
if ! log=$("$cpack" --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" 2>&1); then
  echo "$log"
  echo "FAIL: cpack"
  exit 1
fi
debs=("$work"/out/*.deb)
if [[ ${#debs[@]} != 1 || ! -f ${debs[0]} ]]; then
  echo "$log"
  echo "FAIL: cpack made no single .deb"
  exit 1
fi
deb=${debs[0]}

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
  local actual
  actual=$(field "$1")
  [[ $actual == "$2" ]] || fail "$1 is '$actual', expected '$2'"
}
expect_field Package velkoran
expect_field Version "$version"
expect_field Architecture "$(dpkg --print-architecture)"
expect_field Section science
maintainer_form='^[^<>]*[^<> ] <[^@<> ]+@[^@<> ]+>$'
[[ $(field Maintainer) =~ $maintainer_form ]] || fail "Maintainer '$(field Maintainer)' is not 'name <address>'"
description=$(field Description)
[[ $description == "$summary"$'\n '[!\ ]* ]] ||
  fail "the Description is not '$summary' followed by an extended text:"$'\n'"$description"
# Versioned dependencies on the C and C++ runtimes come only from
# dpkg-shlibdeps reading the program.
depends=$(field Depends)
for package in libc6 libstdc++6; do
  [[ ", $depends" == *", $package (>= "*")"* ]] || fail "Depends '$depends' has no versioned $package"
done

dpkg -x "$deb" "$work/root"
[[ $(ls -A "$work/root") == usr ]] || fail "the package installs outside /usr: $(ls -A "$work/root")"
bash "$(dirname "$0")/check_tree.sh" "$work/root/usr" "$@" || fail "the unpacked package"

if ((failures > 0)); then
  exit 1
fi
echo "ok"
