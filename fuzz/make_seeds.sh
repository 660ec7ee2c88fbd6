#!/usr/bin/env bash
# Makes a seed corpus for each fuzz target from the whole-run cases.
#
#   make_seeds.sh CASES_DIR OUT_DIR
#
#   records/  every input file of every case, as it stands
#   fields/   every distinct number written in the cases, one per seed
#   program/  each case's configuration and measurement file, after the two
#             plan bytes of program_fuzzer.cpp (0 0: no refused call)
set -euo pipefail
cases=$1
out=$2
rm -rf "$out"
mkdir -p "$out/records" "$out/fields" "$out/program"

n=0
while IFS= read -r -d '' file; do
  n=$((n + 1))
  # The first byte of a records seed picks the read size; 7 reads it all at once.
  { printf '\x07'; cat "$file"; } >"$out/records/$n"
done < <(find "$cases" -path '*/input/*' -type f -print0 | sort -z)

n=0
while IFS= read -r number; do
  n=$((n + 1))
  printf '%s' "$number" >"$out/fields/$n"
done < <(find "$cases" -type f -print0 | xargs -0 grep -ahoE -- '-?[0-9]*\.?[0-9]+' | sort -u)

n=0
for configuration in "$cases"/*/input/Velkoran.cfg; do
  [[ -f $configuration ]] || continue  # a case where it is a folder
  input=$(dirname "$configuration")
  # The measurement file is line 1 (the prefix) and line 2, without the
  # blanks around them; a case without one gets an empty file.
  prefix=$(sed -n '1{s/\r$//;s/ *$//;p}' "$configuration")
  name=$(sed -n '2{s/\r$//;s/^ *//;s/ *$//;p}' "$configuration")
  measurements=$input/$prefix$name
  [[ -f $measurements ]] || measurements=/dev/null
  n=$((n + 1))
  { printf '\0\0'; head -n 5 "$configuration"; cat "$measurements"; } >"$out/program/$n"
done
