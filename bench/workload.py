"""The largest run velkoran takes: 500 measurement blocks of 16 wavelengths.

    python3 workload.py DIR

writes DIR/Velkoran.cfg and the measurement file it names. The values follow
a day of sun photometer scans (air mass falling to noon and rising again,
optical depth falling with wavelength), so every field has the widths and
digits that real data gives; a fixed seed makes every run the same bytes.
"""

import math
import random
import sys
from datetime import datetime, timedelta
from pathlib import Path

MEASUREMENTS = 500
WAVELENGTHS = 16
TITLE_INDEX = 3  # clock time
MEASUREMENT_FILE = "campaign_large.txt"
ME_TABLE_FILE = "campaign_large_me.csv"
CIN_TABLE_FILE = "campaign_large_cin.csv"

CHANNELS = [0.3400, 0.3800, 0.4400, 0.5000, 0.6750, 0.8700, 0.9360, 1.0200,
            1.0640, 1.2400, 1.3800, 1.4400, 1.5500, 1.6400, 1.8700, 2.1300]
# The water vapour channel is the one an instrument flags most often.
WATER_VAPOUR = 0.9360
FIRST_SCAN = datetime(2026, 7, 14, 5, 40, 0)
SCAN_INTERVAL = timedelta(seconds=90)
LOCAL_OFFSET = timedelta(hours=2)
COLUMN_HEADER = "  lambda     c-val    m-val   e-val    in   sd-c    sd-e   cloud  T-det    P-hPa"


def air_mass(when):
    hours_from_noon = (when - when.replace(hour=11, minute=55)).total_seconds() / 3600
    elevation = math.radians(63.0 - 8.8 * abs(hours_from_noon))
    return 1.0 / math.sin(elevation)


def wavelength_line(rng, wavelength, m):
    e = 0.012 + 0.09 * (wavelength / 0.5) ** -1.4 * rng.uniform(0.9, 1.1)
    if wavelength == WATER_VAPOUR:
        e += 0.12
    c = math.exp(-m * e) * rng.uniform(0.97, 1.0)
    flag = 1
    if rng.random() < 0.02:
        flag = 12 if rng.random() < 0.1 else 2
    return f"{wavelength:8.4f}    {c:8.4f}  {m:8.4f}{e:8.4f}{flag:4d}"


def header_line(k, when, rng):
    local = when + LOCAL_OFFSET
    return (f"{100 + k:4d}  {when:%Y-%m-%d %H:%M:%S}  {local:%H:%M:%S}  "
            f"{47.376888 + rng.uniform(-2e-5, 2e-5):10.6f}  "
            f"{8.541694 + rng.uniform(-2e-5, 2e-5):11.6f}  {556:4d}")


def block(k, rng):
    when = FIRST_SCAN + (k - 1) * SCAN_INTERVAL
    m = air_mass(when)
    lines = [f"Spectral photometer SP-8, series {when:%Y-%m-%d}, scan {100 + k}",
             "Site: roof station, field campaign",
             "Operator: AK",
             "-" * 66,
             header_line(k, when, rng),
             "",
             "Channel data",
             COLUMN_HEADER,
             "-" * 42]
    lines += [wavelength_line(rng, wavelength, m) for wavelength in CHANNELS[:WAVELENGTHS]]
    return lines


def generate(directory):
    directory = Path(directory)
    directory.mkdir(parents=True, exist_ok=True)
    rng = random.Random(6)
    lines = [line for k in range(1, MEASUREMENTS + 1) for line in block(k, rng)]
    (directory / MEASUREMENT_FILE).write_bytes("".join(line + "\r\n" for line in lines).encode("ascii"))
    configuration = ["", MEASUREMENT_FILE, ME_TABLE_FILE, CIN_TABLE_FILE,
                     f"{WAVELENGTHS:2d}{MEASUREMENTS:3d}{TITLE_INDEX:2d}"]
    (directory / "Velkoran.cfg").write_bytes("".join(line + "\n" for line in configuration).encode("ascii"))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: workload.py DIR")
    generate(sys.argv[1])
