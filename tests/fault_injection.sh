#!/usr/bin/env bash
# Whole runs of the example with one fault at a time, each checked against
# what the run without faults wrote, not against copied outputs.
#
#   fault_injection.sh PROGRAM EXAMPLES_DIR GROUP [ARGUMENT]
#
#   truncated   the measurement file cut after each line in turn: failure 24,
#               and the console and protocol exactly as far as the reading
#               order gets
#   corrupted   each numeric field spoilt in turn, by a letter, a tab or a
#               second point (ARGUMENT letter, tab or point): failure 64, and
#               the output as far as the record before
#   full_disk   /dev/full as each output file and as the console: failure 38
#               with the system's word on the right unit, all before it kept
#   read_only   read-only output files, as user nobody: failure 47 at the
#               first write, the m/e table's record before its c/in one
#   same_names  each two of the run's files named alike: the measurement file
#               and the configuration are kept, but for a table named like
#               the configuration, written after its line 5 or replacing it
set -u
program=$1
[[ $program == /* ]] || program=$PWD/$program
examples=$(cd "$2" && pwd)
group=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
scratch=$(cd "$scratch" && pwd -P)

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# ---- the example and its run without faults

mapfile -t configuration < <(tr -d '\r' <"$examples/Velkoran.cfg")
measurement_file=${configuration[1]}
me_table=${configuration[2]}
cin_table=${configuration[3]}
wavelengths=$((${configuration[4]:0:2}))
measurements=$((${configuration[4]:2:3}))
block_lines=$((9 + wavelengths))
# Per block: the header line, the column-header line, an empty line, and one
# line per wavelength.
block_console_lines=$((3 + wavelengths))

# Writes Velkoran.cfg in the working directory: the example's prefix and
# counts around the names given.
configure() {
  printf '%s\n' "${configuration[0]}" "$1" "$2" "$3" "${configuration[4]}" >Velkoran.cfg
}

# A fresh folder $dir holding the example, made the working directory.
fresh() {
  dir=$scratch/$1
  rm -rf "$dir"
  mkdir "$dir"
  cp "$examples"/* "$dir"/
  cd "$dir" || exit 1
}

as_user=()
# Runs the program in $dir with RETURN typed; the console goes to $console
# (by default $dir.out), standard error to $dir.err, the status to $status.
run() {
  console=${1:-$dir.out}
  (cd "$dir" && "${as_user[@]}" "$program" <<<"" >"$console" 2>"$dir.err")
  status=$?
}

fresh reference
run
reference=$dir
[[ $status == 0 ]] || fail "the run without faults ended with $status"
protocol_line=$(($(stat -c %s "$reference/prtotocol.dat") / measurements))
# The protocol line is left open after the header fields until the 80
# columns of the column-header line end it.
open_protocol_line=$((protocol_line - 80 - 2))
all_echoes=$((measurements * block_console_lines))

# ---- checks

severe_text() {
  case $1 in
  24) echo "end-of-file during read" ;;
  30) echo "open failure" ;;
  38) echo "error during write" ;;
  47) echo "write to READONLY file" ;;
  64) echo "input conversion error" ;;
  esac
}

# expect_failure WHAT STATUS UNIT FILE [SYSTEM_WORD]
expect_failure() {
  local what=$1 number=$2 unit=$3 file=$4 word=${5:-}
  [[ $status == "$number" ]] || fail "$what: exit status $status, expected $number"
  local report
  report="velkoran: severe ($number): $(severe_text "$number"), unit $unit, file $file"
  [[ -n $word ]] && report="velkoran: $word"$'\n'"$report"
  [[ $(<"$dir.err") == "$report" ]] || fail "$what: reported $(<"$dir.err"), expected $report"
}

# The start of a file of the run without faults, kept for the next check
# that needs it: head -n or head -c, its argument, the file.
start_of() {
  local start="$scratch/start${1}${2}_${3##*/}"
  [[ -f $start ]] || head "$1" "$2" "$3" >"$start"
  echo "$start"
}

# The console holds the first LINES lines of the run without faults.
expect_console() {
  cmp -s "$(start_of -n "$2" "$reference.out")" "$console" ||
    fail "$1: the console is not the first $2 lines of the full run's"
}

# FILE holds the first BYTES bytes of the full run's.
expect_start() {
  cmp -s "$(start_of -c "$3" "$reference/$2")" "$dir/$2" ||
    fail "$1: $2 is not the first $3 bytes of the full run's"
}

expect_same() {
  cmp -s "$2" "$dir/$3" || fail "$1: $3 differs from $2"
}

expect_empty() {
  for file in "${@:2}"; do
    [[ -f $dir/$file && ! -s $dir/$file ]] || fail "$1: $file is not empty"
  done
}

# The first record of both tables (the start of the column-header row) is
# all of a table that is written before a failure on the other one.
first_table_record=$(<"$reference/$me_table")
first_table_record=${first_table_record%%" , m1"*}

# ---- groups

truncated() {
  fresh truncated
  local lines_in_file n b r console_lines protocol_bytes
  lines_in_file=$(wc -l <"$examples/$measurement_file")
  for ((n = 0; n < lines_in_file; n++)); do
    head -n "$n" "$examples/$measurement_file" >"$measurement_file"
    rm -f "$me_table" "$cin_table" prtotocol.dat
    run
    # Per block: 4 lines skipped and the header read (its console line and
    # the open protocol line), 2 skipped and the column-header line read and
    # 1 skipped (the console lines and the protocol line's end), then one
    # record and one console line per wavelength.
    b=$((n / block_lines))
    r=$((n % block_lines))
    if ((r < 5)); then
      console_lines=$((b * block_console_lines))
      protocol_bytes=$((b * protocol_line))
    elif ((r < 9)); then
      console_lines=$((b * block_console_lines + 1))
      protocol_bytes=$((b * protocol_line + open_protocol_line))
    else
      console_lines=$((b * block_console_lines + 3 + r - 9))
      protocol_bytes=$(((b + 1) * protocol_line))
    fi
    local what="cut after line $n"
    expect_failure "$what" 24 1 "$dir/$measurement_file"
    expect_console "$what" "$console_lines"
    expect_start "$what" prtotocol.dat "$protocol_bytes"
    expect_empty "$what" "$me_table" "$cin_table"
  done
}

# The last column of each numeric field: header I4, F10.6, F11.6, I4 and
# wavelength record F8.4, F8.4, F8.4, F8.4, I4.
header_fields=(4 47 60 66)
record_fields=(8 20 30 38 42)

# spoil LINE_INDEX COLUMN CONSOLE_LINES PROTOCOL_BYTES
spoil() {
  local index=$1 column=$2 line=${lines[$1]}
  [[ ${line:column-1:1} == [0-9] ]] || fail "line $((index + 1)) column $column of the example holds no digit"
  printf '%s\n' "${lines[@]:0:index}" "${line:0:column-1}$bad${line:column}" "${lines[@]:index+1}" \
    >"$measurement_file"
  rm -f "$me_table" "$cin_table" prtotocol.dat
  run
  local what="line $((index + 1)) column $column spoilt by $kind"
  expect_failure "$what" 64 1 "$dir/$measurement_file"
  expect_console "$what" "$3"
  expect_start "$what" prtotocol.dat "$4"
  expect_empty "$what" "$me_table" "$cin_table"
}

# corrupted KIND: each field spoilt by a letter, a tab or a (second) point.
corrupted() {
  kind=$1
  case $kind in
  letter) bad=x ;;
  tab) bad=$'\t' ;;
  point) bad=. ;;
  *)
    echo "unknown kind of spoiling: $kind"
    exit 2
    ;;
  esac
  fresh corrupted
  mapfile -t lines <"$examples/$measurement_file"
  local b j column first
  for ((b = 0; b < measurements; b++)); do
    first=$((b * block_lines))
    for column in "${header_fields[@]}"; do
      spoil $((first + 4)) "$column" $((b * block_console_lines)) $((b * protocol_line))
    done
    for ((j = 1; j <= wavelengths; j++)); do
      for column in "${record_fields[@]}"; do
        spoil $((first + 8 + j)) "$column" $((b * block_console_lines + 2 + j)) $(((b + 1) * protocol_line))
      done
    done
  done
}

full_disk() {
  local full="No space left on device"
  fresh full_me_table
  configure "$measurement_file" /dev/full "$cin_table"
  run
  expect_failure "m/e table" 38 2 /dev/full "$full"
  expect_console "m/e table" "$all_echoes"
  expect_same "m/e table" "$reference/prtotocol.dat" prtotocol.dat
  expect_empty "m/e table" "$cin_table"

  fresh full_cin_table
  configure "$measurement_file" "$me_table" /dev/full
  run
  expect_failure "c/in table" 38 3 /dev/full "$full"
  expect_console "c/in table" "$all_echoes"
  expect_same "c/in table" "$reference/prtotocol.dat" prtotocol.dat
  [[ $(<"$me_table") == "$first_table_record" ]] || fail "c/in table: the m/e table is not its first record"

  fresh full_protocol
  ln -s /dev/full prtotocol.dat
  run
  expect_failure "protocol" 38 4 "$dir/prtotocol.dat" "$full"
  expect_console "protocol" 1
  expect_empty "protocol" "$me_table" "$cin_table"

  fresh full_console
  run /dev/full
  expect_failure "console" 38 -1 'CONOUT$' "$full"
  expect_empty "console" prtotocol.dat "$me_table" "$cin_table"
}

# read_only_run WHAT FILE...: runs as user nobody with the output files
# holding old contents, FILE... read-only.
read_only_run() {
  fresh "read_only_${1//\//_}"
  for file in "$me_table" "$cin_table" prtotocol.dat; do
    printf 'old\r\n' >"$file"
  done
  chmod -R a+rwX "$dir"
  chmod a-w "${@:2}"
  run
}

read_only() {
  if [[ $(id -u) != 0 ]] || ! command -v setpriv >/dev/null; then
    echo "SKIP: running as user nobody needs root and setpriv"
    exit 77
  fi
  chmod 755 "$scratch"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  printf 'old\r\n' >"$scratch/old"

  read_only_run "m/e table" "$me_table"
  expect_failure "m/e table" 47 2 "$dir/$me_table"
  expect_console "m/e table" "$all_echoes"
  expect_same "m/e table" "$reference/prtotocol.dat" prtotocol.dat
  expect_same "m/e table" "$scratch/old" "$me_table"
  expect_same "m/e table" "$scratch/old" "$cin_table"

  read_only_run "c/in table" "$cin_table"
  expect_failure "c/in table" 47 3 "$dir/$cin_table"
  [[ $(<"$me_table") == "$first_table_record" ]] || fail "c/in table: the m/e table is not its first record"
  expect_same "c/in table" "$scratch/old" "$cin_table"

  read_only_run "both tables" "$me_table" "$cin_table"
  expect_failure "both tables" 47 2 "$dir/$me_table"
  expect_same "both tables" "$scratch/old" "$cin_table"

  read_only_run "protocol" prtotocol.dat
  expect_failure "protocol" 47 4 "$dir/prtotocol.dat"
  expect_console "protocol" 1
  expect_same "protocol" "$scratch/old" prtotocol.dat
  expect_same "protocol" "$scratch/old" "$me_table"
}

# same_name_run WHAT MEASUREMENT_FILE ME_TABLE CIN_TABLE: the configuration
# names the three, and the example's measurements are in the first (unless
# that is the configuration itself).
same_name_run() {
  fresh "same_${1//[ \/]/_}"
  local measurements_kept=$2
  case $2 in
  "$measurement_file") ;;
  *Velkoran.cfg) measurements_kept=$measurement_file ;;
  *) mv "$measurement_file" "$2" ;;
  esac
  configure "$2" "$3" "$4"
  cp Velkoran.cfg "$dir.cfg"
  run
  expect_same "$1" "$examples/$measurement_file" "$measurements_kept"
}

expect_rejected() {
  local unit=$2 holder=$3 file=$4
  expect_failure "$1" 30 "$unit" "$dir/$file" "the file is already connected to unit $holder"
  expect_same "$1" "$dir.cfg" Velkoran.cfg
}

same_names() {
  local m=$measurement_file
  same_name_run "measurement file and m/e table" "$m" "./$m" "$cin_table"
  expect_rejected "measurement file and m/e table" 2 1 "./$m"
  same_name_run "measurement file and c/in table" "$m" "$me_table" "./$m"
  expect_rejected "measurement file and c/in table" 3 1 "./$m"
  same_name_run "measurement file and protocol" prtotocol.dat "$me_table" "$cin_table"
  expect_rejected "measurement file and protocol" 4 1 prtotocol.dat
  same_name_run "measurement file and configuration" ./Velkoran.cfg "$me_table" "$cin_table"
  expect_failure "measurement file and configuration" 30 1 "$dir/./Velkoran.cfg" \
    "the file is already connected to unit 2"
  expect_same "measurement file and configuration" "$dir.cfg" Velkoran.cfg
  same_name_run "both tables" "$m" "$me_table" "./$me_table"
  expect_rejected "both tables" 3 2 "./$me_table"
  same_name_run "m/e table and protocol" "$m" prtotocol.dat "$cin_table"
  expect_rejected "m/e table and protocol" 4 2 prtotocol.dat
  same_name_run "c/in table and protocol" "$m" "$me_table" prtotocol.dat
  expect_rejected "c/in table and protocol" 4 3 prtotocol.dat

  # Read in full by then: unit 2 still holds the configuration when the m/e
  # table is opened on it, and writes after line 5; the c/in table replaces it.
  same_name_run "m/e table and configuration" "$m" ./Velkoran.cfg "$cin_table"
  [[ $status == 0 ]] || fail "m/e table and configuration: exit status $status"
  cmp -s <(cat "$dir.cfg" "$reference/$me_table") Velkoran.cfg ||
    fail "m/e table and configuration: not the configuration and then the m/e table"
  same_name_run "c/in table and configuration" "$m" "$me_table" ./Velkoran.cfg
  [[ $status == 0 ]] || fail "c/in table and configuration: exit status $status"
  expect_same "c/in table and configuration" "$reference/$cin_table" Velkoran.cfg
}

case $group in
truncated | corrupted | full_disk | read_only | same_names) "$group" "${@:4}" ;;
*)
  echo "unknown group $group"
  exit 2
  ;;
esac

if ((failures > 0)); then
  exit 1
fi
echo "ok"
