#!/usr/bin/python3
"""Compares Lunvelde's times and moon ages with a high-precision reference.

The program's figures are read from the lunvelde-table command; the reference
comes from PyEphem (Debian's python3-ephem). Rise and set are defined the same
way on both sides: the moment the geocentric centre of the body crosses the
altitude the program uses (sun -0.850 deg, that is asin(-0.014835); moon
+0.350 deg, asin(0.0061)), without refraction, searched within the local
standard-time day. The reference times are exact to the second; the program
truncates to the minute, so a perfect program would be 0 to 1 minute early.

Writes docs/accuracy.md (tables) and docs/accuracy.png (plot). This describes
the method's precision; it is not a test and changes nothing in the program.

Usage: tools/accuracy.py [path/to/lunvelde-table] [--quick]
"""

import math
import os
import statistics
import subprocess
import sys

import ephem

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SITES = [
    # name, latitude, longitude, offset (hours ahead of UT)
    ("Tokyo", 35.69, 139.69, 9.0),
    ("Sapporo", 43.06, 141.35, 9.0),
    ("Naha", 26.21, 127.68, 9.0),
    ("Cape Town", -33.92, 18.42, 2.0),
    ("Tromso", 69.65, 18.96, 1.0),
]

SUN_ALT = math.asin(-0.014835)
MOON_ALT = math.asin(0.0061)
EVENTS = ["sun rise", "sun set", "moon rise", "moon set"]


def sample_months(quick):
    """Months spread over 1901..2099: every fourth (or, quick, twelfth) year,
    rotating through the twelve months so every season is covered."""
    step = 12 if quick else 4
    months = []
    for i, year in enumerate(range(1901, 2100, step)):
        months.append((year, 1 + (i * 5) % 12))
        months.append((year, 1 + (i * 5 + 6) % 12))
    return months


def program_rows(exe, site, year, month):
    _, lat, lon, tz = site
    out = subprocess.run(
        [exe, "--year", str(year), "--month", str(month), "--lat", str(lat),
         "--lon", str(lon), "--tz", str(tz)],
        check=True, capture_output=True).stdout.decode("ascii")
    rows = []
    for line in out.split("\r\n"):
        if not line:
            continue
        day = int(line[10:13])
        times = []
        for k in range(4):
            field = line[15 + 8 * k:23 + 8 * k]
            if "--" in field:
                times.append(None)
            else:
                h, m = field.split(":")
                times.append(int(h) * 60 + int(m))
        rows.append((day, times, float(line[47:54])))
    return rows


def geocentric_altitude(body, observer, when):
    observer.date = when
    body.compute(observer)
    lst = float(observer.sidereal_time())
    ha = lst - float(body.g_ra)
    lat = float(observer.lat)
    dec = float(body.g_dec)
    return math.asin(math.sin(lat) * math.sin(dec) + math.cos(lat) * math.cos(dec) * math.cos(ha))


def crossings(body, observer, start, alt0):
    """Rise and set (minutes after local midnight) of body in one local day,
    or None; the first crossing of each kind in the day."""
    step = 10.0 / 1440.0
    n = 144
    f = lambda t: geocentric_altitude(body, observer, start + t) - alt0
    rise = sett = None
    prev = f(0.0)
    for i in range(1, n + 1):
        t = i * step
        cur = f(t)
        if (prev < 0) != (cur < 0):
            a, b, fa = t - step, t, prev
            for _ in range(30):
                m = 0.5 * (a + b)
                fm = f(m)
                if (fa < 0) == (fm < 0):
                    a, fa = m, fm
                else:
                    b = m
            minutes = 0.5 * (a + b) * 1440.0
            if prev < 0 and rise is None:
                rise = minutes
            elif prev >= 0 and sett is None:
                sett = minutes
        prev = cur
    return rise, sett


def reference_day(site, year, month, day):
    _, lat, lon, tz = site
    obs = ephem.Observer()
    obs.lat = str(lat)
    obs.lon = str(lon)
    obs.elevation = 0
    obs.pressure = 0
    midnight = ephem.Date((year, month, day, 0, 0, 0)) - tz / 24.0
    sun_r, sun_s = crossings(ephem.Sun(), obs, midnight, SUN_ALT)
    moon_r, moon_s = crossings(ephem.Moon(), obs, midnight, MOON_ALT)
    noon = ephem.Date(midnight + 0.5)
    age = noon - ephem.previous_new_moon(noon)
    return [sun_r, sun_s, moon_r, moon_s], age


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    quick = "--quick" in sys.argv
    exe = args[0] if args else os.path.join(TOP, "build", "lunvelde-table")
    months = sample_months(quick)
    per_site = {}
    for site in SITES:
        errs = {e: [] for e in EVENTS}
        only_prog = {e: 0 for e in EVENTS}
        only_ref = {e: 0 for e in EVENTS}
        age_errs = []
        days = 0
        for year, month in months:
            for day, times, age in program_rows(exe, site, year, month):
                ref_times, ref_age = reference_day(site, year, month, day)
                days += 1
                for k, e in enumerate(EVENTS):
                    p, r = times[k], ref_times[k]
                    if p is not None and r is not None:
                        errs[e].append(p - r)
                    elif p is not None:
                        only_prog[e] += 1
                    elif r is not None:
                        only_ref[e] += 1
                d = age - ref_age
                # The two ages may sit on either side of a new moon.
                if d > 15:
                    d -= 29.530589
                elif d < -15:
                    d += 29.530589
                age_errs.append(d)
        per_site[site[0]] = (days, errs, only_prog, only_ref, age_errs)
        print(f"{site[0]}: {days} days", file=sys.stderr)
    write_report(per_site, months)


def write_report(per_site, months):
    docs = os.path.join(TOP, "docs")
    os.makedirs(docs, exist_ok=True)
    lines = []
    lines.append("# Accuracy of the times and ages")
    lines.append("")
    lines.append(f"{len(months)} months sampled from {months[0][0]} to {months[-1][0]}, "
                 "every day of each, at five sites, against PyEphem with the same "
                 "definition of rise and set (geocentric centre at the program's altitudes, no refraction). "
                 "Error = program minus reference, in minutes; the program truncates to the minute, "
                 "so its times run on average half a minute early by design.")
    lines.append("")
    lines.append("| site | days | event | median error | median abs. error | 95% abs. error | worst abs. error | only program | only reference |")
    lines.append("|---|---:|---|---:|---:|---:|---:|---:|---:|")
    for name, (days, errs, only_prog, only_ref, _) in per_site.items():
        for e in EVENTS:
            v = errs[e]
            if v:
                med = statistics.median(v)
                mabs = statistics.median(abs(x) for x in v)
                absv = sorted(abs(x) for x in v)
                p95 = absv[min(len(absv) - 1, int(0.95 * len(absv)))]
                worst = absv[-1]
                cells = f"{med:+.1f} | {mabs:.1f} | {p95:.1f} | {worst:.1f}"
            else:
                cells = "- | - | - | -"
            lines.append(f"| {name} | {days} | {e} | {cells} | {only_prog[e]} | {only_ref[e]} |")
    lines.append("")
    lines.append("Moon age (program minus days since the previous new moon at local noon):")
    lines.append("")
    lines.append("| site | median error (days) | worst abs. error (days) |")
    lines.append("|---|---:|---:|")
    for name, (_, _, _, _, ages) in per_site.items():
        lines.append(f"| {name} | {statistics.median(ages):+.3f} | {max(abs(a) for a in ages):.3f} |")
    lines.append("")
    lines.append("\"Only program\" / \"only reference\": days on which one side reports the event "
                 "and the other reports none (for the moon mostly events a few minutes from midnight, "
                 "which the program may put on the neighbouring date; at Tromso also the edges of the "
                 "polar day and night). The worst errors at Tromso come from days near the polar day "
                 "and night, where the program's single evaluation at local noon can miss or misplace "
                 "an event by many minutes, or pair an event with one near the other end of the day.")
    lines.append("")
    lines.append("![errors](accuracy.png)")
    with open(os.path.join(docs, "accuracy.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")

    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, axes = plt.subplots(1, 5, figsize=(16, 3.6))
    for ax, e in zip(axes, EVENTS):
        data = [per_site[n][1][e] for n in per_site]
        ax.hist(data, bins=40, range=(-15, 15), stacked=True, label=list(per_site))
        ax.set_title(e)
        ax.set_xlabel("minutes (program - reference)")
    axes[0].legend(fontsize=7)
    ages = [per_site[n][4] for n in per_site]
    axes[4].hist(ages, bins=40, stacked=True)
    axes[4].set_title("moon age")
    axes[4].set_xlabel("days (program - reference)")
    fig.tight_layout()
    fig.savefig(os.path.join(docs, "accuracy.png"), dpi=80)


if __name__ == "__main__":
    main()
