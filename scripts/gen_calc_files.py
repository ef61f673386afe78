#!/usr/bin/env python3
"""Writes a folder of varied calculation files for comparing two builds' batch output.

Every section, mode and unknown, every unit position, running-full pipes, blank and
negative values, out-of-range list positions and unreachable cases appear; the values are
drawn from a fixed seed so that two runs write the same files.

Usage: scripts/gen_calc_files.py OUT_DIR [COUNT] [SEED]      (default 4800 files, seed 1)
"""
import os
import random
import sys

VELOCITY_UNITS = 4
DISCHARGE_UNITS = 12
LENGTH_UNITS = 5
AREA_UNITS = 5
SIDE_UNITS = 3
SLOPE_UNITS = 4
SECTIONS = 5  # pipe, rectangle, triangle, trapezoid, gutter
UNKNOWNS = ["veldis", "depth", "diam", "side", "slope", "manning"]


def number(rng, low, high):
    """A value as a user types it: a few significant digits, sometimes many."""
    v = rng.uniform(low, high)
    style = rng.random()
    if style < 0.6:
        return f"{v:.3g}"
    if style < 0.9:
        return f"{v:.6g}"
    return repr(v)


def odd_value(rng):
    """Values that make a calculation fail or take an unusual branch."""
    return rng.choice(["0", "-1", "", "abc", "1e9", "1e-9", "0.0000001", "99999", " 2", "1.5.2"])


def unit_position(rng, size):
    # Mostly valid positions; now and then one past the end or negative.
    r = rng.random()
    if r < 0.02:
        return size
    if r < 0.03:
        return -1
    return rng.randrange(size)


def calc_file(rng, index):
    section = index % SECTIONS
    velocity_mode = (index // SECTIONS) % 2 == 1
    unknown = UNKNOWNS[(index // (SECTIONS * 2)) % len(UNKNOWNS)]
    fail = rng.random() < 0.12
    running_full = section == 0 and rng.random() < 0.15

    flow_pos = unit_position(rng, VELOCITY_UNITS if velocity_mode else DISCHARGE_UNITS)
    depth_pos = unit_position(rng, LENGTH_UNITS)
    diam_pos = unit_position(rng, LENGTH_UNITS)
    side_pos = unit_position(rng, SIDE_UNITS)
    slope_pos = unit_position(rng, SLOPE_UNITS)

    # Values roughly in base units, scaled into the chosen unit so most cases solve.
    length_scale = [1000, 100, 1, 39.37, 3.281][depth_pos] if 0 <= depth_pos < 5 else 1
    diam_scale = [1000, 100, 1, 39.37, 3.281][diam_pos] if 0 <= diam_pos < 5 else 1
    diameter = rng.uniform(0.1, 3.0)
    depth = diameter * (rng.uniform(1.0, 1.5) if running_full else rng.uniform(0.05, 0.98))
    if section != 0:
        depth = rng.uniform(0.02, 2.5)
    if velocity_mode:
        flow = number(rng, 0.05, 6) if flow_pos in (0, 2, -1, VELOCITY_UNITS) else \
            number(rng, 1000, 400000)
    else:
        flow = number(rng, 0.001, 20) if flow_pos in (0, 4, -1, DISCHARGE_UNITS) else \
            number(rng, 0.5, 50000)
    if side_pos == 2:
        side = number(rng, 1, 89)
    elif side_pos == 1:
        side = number(rng, 0.05, 4)
    else:
        side = number(rng, 0.25, 20)
    slope_scale = [1000, 100, 10, 1][slope_pos] if 0 <= slope_pos < 4 else 1
    slope = f"{rng.uniform(0.0002, 0.04) * slope_scale:.4g}"
    manning = f"{rng.uniform(0.009, 0.08):.3g}"
    values = {
        "veldis": flow,
        "depth": f"{depth * length_scale:.5g}",
        "diam": f"{diameter * diam_scale:.5g}",
        "side": side,
        "slope": slope,
        "manning": manning,
    }
    if fail:
        values[rng.choice(UNKNOWNS)] = odd_value(rng)
    values[unknown] = "" if rng.random() < 0.7 else values[unknown]  # stale text of an unknown

    def flag(name):
        return "True" if name == unknown else "False"

    lines = ["Rivulet", "Version 2.0.1", f" {section} ", "Velocity" if velocity_mode else "Discharge"]
    rows = [("veldis", flow_pos), ("depth", depth_pos), ("diam", diam_pos),
            ("side", side_pos), ("slope", slope_pos)]
    for name, pos in rows:
        lines += [flag(name), values[name], f" {pos} "]
    lines += [flag("manning"), values["manning"]]
    other_flow = unit_position(rng, DISCHARGE_UNITS if velocity_mode else VELOCITY_UNITS)
    lines += [f" {other_flow} ", f" {unit_position(rng, AREA_UNITS)} ",
              f" {unit_position(rng, LENGTH_UNITS)} ",
              f" {unit_position(rng, VELOCITY_UNITS if velocity_mode else DISCHARGE_UNITS)} ",
              f" {unit_position(rng, AREA_UNITS)} "]
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 4800
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)
    os.makedirs(out, exist_ok=True)
    for i in range(count):
        with open(os.path.join(out, f"calc{i:05d}.rvl"), "w", newline="") as f:
            f.write(calc_file(rng, i))


if __name__ == "__main__":
    main()
