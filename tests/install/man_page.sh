#!/usr/bin/env bash
# The man page must render without a single warning, by every formatter at hand.
#
#   man_page.sh MAN_PAGE
set -u
page=$1

checked=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if command -v groff >/dev/null; then
  checked=1
  # The device man uses at a terminal, where line breaking can warn.
  warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
  [[ $? == 0 && -z $warnings ]] || fail "groff -man -ww:"$'\n'"$warnings"
fi
if command -v mandoc >/dev/null; then
  checked=1
  warnings=$(mandoc -T lint -W warning "$page" 2>&1)
  [[ $? == 0 && -z $warnings ]] || fail "mandoc -T lint:"$'\n'"$warnings"
fi
if ((checked == 0)); then
  echo "SKIP: groff or mandoc is needed to check the man page"
  exit 77
fi

if ((failures > 0)); then
  exit 1
fi
echo "ok"
