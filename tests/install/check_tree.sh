#!/usr/bin/env bash
# Checks an installed velkoran: exactly the files it should have below ROOT,
# and the installed program, run on a copy of the installed example data,
# must give every byte the example case expects.
#
#   check_tree.sh ROOT SOURCE_DIR MAN_PAGE BINDIR MANDIR DOCDIR
#
# MAN_PAGE is the man page configured in the build folder; BINDIR, MANDIR and
# DOCDIR are the install folders, relative to ROOT.
set -u
root=$1 source_dir=$2 man_page=$3 bindir=$4 mandir=$5 docdir=$6

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A file left out shows as missing, and a stray one (a test program, a
# library) shows too.
{
  echo "$bindir/velkoran"
  echo "$mandir/man1/velkoran.1"
  echo "$docdir/README.md"
  (cd "$source_dir/examples" && find . -type f) | sed "s|^\.|$docdir/examples|"
} | sort >"$work/expected_files"
(cd "$root" && find . -type f) | sed 's|^\./||' | sort >"$work/installed_files"
diff "$work/expected_files" "$work/installed_files" ||
  fail "the installed files differ from the expected ones (<: expected, >: installed)"

[[ -x $root/$bindir/velkoran ]] || fail "$bindir/velkoran is not executable"
cmp -s "$man_page" "$root/$mandir/man1/velkoran.1" || fail "the installed man page differs from $man_page"
cmp -s "$source_dir/README.md" "$root/$docdir/README.md" || fail "the installed README.md differs"
diff -r "$source_dir/examples" "$root/$docdir/examples" || fail "the installed example data differ"

# The example case with the installed example data as its input: whatever
# else the case holds (console input, expected outputs) stays as it is.
case_dir=$work/case
cp -R "$source_dir/tests/cases/example" "$case_dir"
rm -rf "$case_dir/input"
cp -R "$root/$docdir/examples" "$case_dir/input"
bash "$source_dir/tests/run_case.sh" "$root/$bindir/velkoran" "$case_dir" ||
  fail "the installed velkoran on the installed example data"

if ((failures > 0)); then
  exit 1
fi
echo "ok"
