#!/usr/bin/env bash
# Installs a build into a fresh prefix with `cmake --install` and checks what
# arrived there.
#
#   prefix.sh CMAKE BUILD_DIR SOURCE_DIR MAN_PAGE BINDIR MANDIR DOCDIR
set -u
cmake=$1 build_dir=$2
shift 2

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

if ! log=$("$cmake" --install "$build_dir" --prefix "$prefix" 2>&1); then
  echo "$log"
  echo "FAIL: cmake --install"
  exit 1
fi
bash "$(dirname "$0")/check_tree.sh" "$prefix" "$@"
