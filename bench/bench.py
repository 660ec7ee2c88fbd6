"""velkoran on its largest run, measured against the floor of its cost.

    python3 bench.py run --timer TIMED_RUN --program VELKORAN --floor FLOOR --work DIR [--pairs N]
    python3 bench.py smoke --timer TIMED_RUN --program VELKORAN --work DIR

`run` writes the workload into DIR, traces one velkoran run to learn its
write calls, checks that the floor program makes exactly the same ones, and
then times the two in alternation, a warm-up of each first. Every run has
its console output in a regular file and a RETURN as its console input. It
prints the medians of wall, user and system time and of peak resident
memory, the velkoran/floor ratio of wall time taken pair by pair, and the
instructions of one velkoran run under callgrind.

`smoke` writes the workload and checks one velkoran run on it: cheap enough
for every CI run, and no measurement.
"""

import argparse
import os
import re
import statistics
import struct
import subprocess
import sys
from collections import Counter
from pathlib import Path

import workload

CONSOLE_INPUT = "return.txt"
CONSOLE_OUTPUT = "console.txt"
ERROR_OUTPUT = "stderr.txt"
WRITE_CALL = re.compile(r"^write\((\d+)<(.*)>, .*, (\d+)\) += (-?\d+)")
SYSTEM_CALL = re.compile(r"^([a-z0-9_]+)\(")
# A line of callgrind_annotate --inclusive=yes for the library's conversion of a real.
REAL_CONVERSION = re.compile(r"^\s*([\d,]+) .*std::(?:to|from)_chars\([^)]*double")


class Sample:
    """One run as velkoran_timed_run measured it."""

    def __init__(self, result):
        wall, user, system, peak_kib = result.split()
        self.wall = float(wall)
        self.user = float(user)
        self.system = float(system)
        self.peak_kib = int(peak_kib)


class Workplace:
    """The workload's folder, and the way every command is run in it."""

    def __init__(self, folder, timer):
        self.folder = Path(folder).resolve()
        self.timer = str(Path(timer).resolve())
        workload.generate(self.folder)
        (self.folder / CONSOLE_INPUT).write_bytes(b"\n")

    def run(self, command):
        result = self.folder / "timed_run.txt"
        with open(self.folder / CONSOLE_INPUT, "rb") as console_in, \
                open(self.folder / CONSOLE_OUTPUT, "wb") as console_out, \
                open(self.folder / ERROR_OUTPUT, "wb") as error_out:
            status = subprocess.run([self.timer, str(result), *command], cwd=self.folder, stdin=console_in,
                                    stdout=console_out, stderr=error_out, check=False).returncode
        if status != 0:
            errors = (self.folder / ERROR_OUTPUT).read_text(errors="replace")
            sys.exit(f"{command[0]} ended with status {status}:\n{errors}")
        return Sample(result.read_text())

    def trace(self, command):
        """Every system call of one run, as strace lines with each descriptor's file."""
        trace = self.folder / "trace.txt"
        self.run(["strace", "-y", "-s", "0", "-o", str(trace), *command])
        return trace.read_text().splitlines()

    def callgrind_instructions(self, command):
        """The instructions of one run, and how many of them the library's conversions of reals take."""
        out = self.folder / "callgrind.out"
        self.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", *command])
        totals = [line for line in out.read_text().splitlines() if line.startswith(("summary:", "totals:"))]
        annotated = subprocess.run(["callgrind_annotate", "--inclusive=yes", str(out)], check=True,
                                   capture_output=True, text=True).stdout.splitlines()
        conversions = sum(int(match.group(1).replace(",", ""))
                          for match in map(REAL_CONVERSION.match, annotated) if match)
        return int(totals[0].split()[1]), conversions


def write_calls(trace):
    """(file, bytes) of each write call in order; a short write is an error."""
    calls = []
    for line in trace:
        match = WRITE_CALL.match(line)
        if match:
            _, path, wanted, written = match.groups()
            if wanted != written:
                sys.exit(f"a short or failed write in the trace: {line}")
            calls.append((path, int(wanted)))
    return calls


def other_calls(trace):
    names = Counter(match.group(1) for match in map(SYSTEM_CALL.match, trace) if match)
    del names["write"]
    return names


def write_plan(calls, place):
    """The floor's plan file, and the outputs that its indices name."""
    console = str(place.folder / CONSOLE_OUTPUT)
    outputs = list(dict.fromkeys(path for path, _ in calls))
    index = {path: i for i, path in enumerate(outputs)}
    plan = place.folder / "floor.plan"
    plan.write_bytes(b"".join(struct.pack("<HH", index[path], size) for path, size in calls))
    return plan, ["-" if path == console else os.path.relpath(path, place.folder) for path in outputs]


def timed_pairs(place, velkoran, floor, pairs):
    place.run(velkoran)
    place.run(floor)
    samples = {"velkoran": [], "floor": []}
    for i in range(pairs):
        # Alternating which goes first cancels a drift of the machine's load.
        order = [("velkoran", velkoran), ("floor", floor)]
        for name, command in order if i % 2 == 0 else reversed(order):
            samples[name].append(place.run(command))
    return samples


def report(samples, calls, others, instructions):
    print(f"\nvelkoran on {workload.MEASUREMENTS} measurements x {workload.WAVELENGTHS} wavelengths: "
          f"{len(calls)} write calls, {sum(size for _, size in calls)} bytes")
    print("its other system calls: " + ", ".join(f"{count} {name}" for name, count in others.most_common()))
    print(f"medians of {len(samples['floor'])} runs each, after a warm-up:")
    print(f"{'':10}{'wall ms':>10}{'user ms':>10}{'sys ms':>10}{'peak KiB':>10}")
    for name, runs in samples.items():
        print(f"{name:10}"
              f"{statistics.median(s.wall for s in runs) * 1000:10.2f}"
              f"{statistics.median(s.user for s in runs) * 1000:10.2f}"
              f"{statistics.median(s.system for s in runs) * 1000:10.2f}"
              f"{statistics.median(s.peak_kib for s in runs):10.0f}")
    ratios = sorted(v.wall / f.wall for v, f in zip(samples["velkoran"], samples["floor"]))
    quartiles = statistics.quantiles(ratios, n=4)
    print(f"wall time velkoran / floor, pair by pair: median {statistics.median(ratios):.3f}, "
          f"quartiles {quartiles[0]:.3f} to {quartiles[2]:.3f}, range {ratios[0]:.3f} to {ratios[-1]:.3f}")
    total, conversions = instructions
    print(f"callgrind: {total:,} instructions in one velkoran run, {conversions:,} ({conversions / total:.0%}) "
          f"of them in std::to_chars and std::from_chars converting reals")


def benchmark(arguments):
    place = Workplace(arguments.work, arguments.timer)
    velkoran = [str(Path(arguments.program).resolve())]
    trace = place.trace(velkoran)
    calls = write_calls(trace)
    plan, outputs = write_plan(calls, place)
    floor = [str(Path(arguments.floor).resolve()), str(plan), "Velkoran.cfg", workload.MEASUREMENT_FILE,
             "--", *outputs]
    if write_calls(place.trace(floor)) != calls:
        sys.exit("the floor program does not make velkoran's write calls")
    samples = timed_pairs(place, velkoran, floor, arguments.pairs)
    report(samples, calls, other_calls(trace), place.callgrind_instructions(velkoran))


def smoke(arguments):
    place = Workplace(arguments.work, arguments.timer)
    place.run([str(Path(arguments.program).resolve())])
    lines_per_block = 3 + workload.WAVELENGTHS  # header, column header, empty line
    expected_lines = {
        CONSOLE_OUTPUT: workload.MEASUREMENTS * lines_per_block + 1,
        "prtotocol.dat": workload.MEASUREMENTS,
        workload.ME_TABLE_FILE: 2 + workload.WAVELENGTHS,
        workload.CIN_TABLE_FILE: 2 + workload.WAVELENGTHS,
    }
    for name, expected in expected_lines.items():
        lines = (place.folder / name).read_bytes().count(b"\r\n")
        if lines != expected:
            sys.exit(f"{name} has {lines} lines, expected {expected}")
    if (place.folder / ERROR_OUTPUT).stat().st_size != 0:
        sys.exit("velkoran wrote to standard error")
    print(f"smoke: velkoran read {workload.MEASUREMENTS} measurements x {workload.WAVELENGTHS} wavelengths "
          f"and wrote every line")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    timed = commands.add_parser("run")
    timed.add_argument("--floor", required=True)
    timed.add_argument("--pairs", type=int, default=101)
    timed.set_defaults(action=benchmark)
    checked = commands.add_parser("smoke")
    checked.set_defaults(action=smoke)
    for command in (timed, checked):
        command.add_argument("--timer", required=True)
        command.add_argument("--program", required=True)
        command.add_argument("--work", required=True)
    arguments = parser.parse_args()
    arguments.action(arguments)


if __name__ == "__main__":
    main()
