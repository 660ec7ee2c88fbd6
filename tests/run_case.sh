#!/usr/bin/env bash
# Runs velkoran on one case folder and compares everything it leaves behind.
#
#   run_case.sh PROGRAM CASE_DIR [LAUNCHER ...]
#
# A case folder holds:
#   input/      files laid out in an empty working directory before the run
#   stdin       what the console gets (default: one empty line)
#   stdout      the console output expected, byte for byte (default: nothing)
#   stderr      the failure report expected; @DIR@ stands for the working directory
#   status      the exit status expected (default: 0)
#   expected/   files expected after the run, byte for byte; every other file
#               of input/ must be unchanged, and no other file may appear
#   options     bash variables: as_nobody=1 runs the program as user nobody,
#               read_only="a b" makes those files read-only first,
#               stdout=FILE sends the console output there instead
#
# CASE_SYSTEM=windows says PROGRAM is the Windows build, run by LAUNCHER.
# Its reports name files by Windows paths and give Windows' own words for
# an error, so standard error is compared with those parts masked. Cases
# that run as user nobody or use /dev/ devices need POSIX and are skipped.
set -u
program=$1
[[ $program == /* ]] || program=$PWD/$program
case_dir=$2
shift 2
launcher=("$@")

as_nobody=0
read_only=""
stdout=""
if [[ -f $case_dir/options ]]; then
  # shellcheck source=/dev/null
  source "$case_dir/options"
fi

windows=0
if [[ ${CASE_SYSTEM:-} == windows ]]; then
  windows=1
  if [[ $as_nobody == 1 ]]; then
    echo "SKIP: running as user nobody needs POSIX users"
    exit 77
  fi
  if grep -rqF /dev/ "$case_dir"; then
    echo "SKIP: the case uses a POSIX device under /dev/"
    exit 77
  fi
fi

work=$(mktemp -d)
results=$(mktemp -d)
trap 'rm -rf "$work" "$results"' EXIT
work=$(cd "$work" && pwd -P)
[[ -d $case_dir/input ]] && cp -R "$case_dir/input/." "$work/"
for file in $read_only; do chmod a-w "$work/$file"; done

run=("${launcher[@]}" "$program")
if [[ $as_nobody == 1 ]]; then
  if ! command -v setpriv >/dev/null; then
    echo "SKIP: setpriv is needed to run as user nobody"
    exit 77
  fi
  chmod 777 "$work"
  chmod -R a+rX "$work"
  find "$work" -mindepth 1 -type d -exec chmod 777 {} +
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups "${run[@]}")
fi

stdin_file=$case_dir/stdin
[[ -f $stdin_file ]] || { stdin_file=$results/stdin; printf '\n' >"$stdin_file"; }
console=${stdout:-$results/stdout}
(cd "$work" && "${run[@]}" <"$stdin_file" >"$console" 2>"$results/stderr")
status=$?

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Shows two byte streams side by side in a form where CR, blanks and a
# missing last line end can be seen.
compare() {
  local what=$1 expected=$2 actual=$3
  if ! cmp -s "$expected" "$actual"; then
    fail "$what differs (expected, then actual; \$ marks LF, ^M a CR):"
    diff <(cat -A "$expected") <(cat -A "$actual") | head -40
  fi
}

# Keeps of a failure report what both systems say alike, byte for byte
# otherwise: the path after "file " becomes <path>, and the line before a
# report of 30, 38 or 39, the system's word on the error, becomes
# <system word> unless it is the program's own.
mask_windows_words() {
  perl -0777 -pe '
    s/^(velkoran: severe \(\d+\): .*?, file ).*/$1<path>/mg;
    s/^(?!velkoran: (?:severe|the file is already connected)).*(?=\nvelkoran: severe \((?:30|38|39)\))/velkoran: <system word>/mg;
  ' "$1"
}

expected_status=0
[[ -f $case_dir/status ]] && expected_status=$(<"$case_dir/status")
[[ $status == "$expected_status" ]] || fail "exit status $status, expected $expected_status"

empty=$results/empty
: >"$empty"
if [[ -z $stdout ]]; then
  expected_stdout=$case_dir/stdout
  [[ -f $expected_stdout ]] || expected_stdout=$empty
  compare "standard output" "$expected_stdout" "$results/stdout"
fi
expected_stderr=$results/expected_stderr
if [[ -f $case_dir/stderr ]]; then
  sed "s|@DIR@|$work|g" "$case_dir/stderr" >"$expected_stderr"
else
  : >"$expected_stderr"
fi
if ((windows)); then
  for stream in "$expected_stderr" "$results/stderr"; do
    mask_windows_words "$stream" >"$stream.masked"
    mv "$stream.masked" "$stream"
  done
fi
compare "standard error" "$expected_stderr" "$results/stderr"

while IFS= read -r -d '' file; do
  name=${file#"$work"/}
  if [[ -f $case_dir/expected/$name ]]; then
    compare "$name" "$case_dir/expected/$name" "$file"
  elif [[ -f $case_dir/input/$name ]]; then
    compare "$name (an input, to stay unchanged)" "$case_dir/input/$name" "$file"
  else
    fail "$name was created"
  fi
done < <(find "$work" -type f -print0)
if [[ -d $case_dir/expected ]]; then
  while IFS= read -r -d '' file; do
    name=${file#"$case_dir/expected/"}
    [[ -f $work/$name ]] || fail "$name is missing"
  done < <(find "$case_dir/expected" -type f -print0)
fi

if ((failures > 0)); then
  exit 1
fi
echo "ok"
