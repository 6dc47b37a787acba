#!/usr/bin/python3
"""Compares the precise almanac with PyEphem (Debian's python3-ephem).

The engine's figures come from the almanac_dump helper (full precision). The
reference takes PyEphem's topocentric positions with pressure 0 and finds
every crossing with its own scan and bisection (PyEphem's own rise search can
loop for ever near the poles), with the same definitions: sun upper limb at
-35'08", moon centre at -35'08", twilights of the sun's centre at -6/-12/-18
degrees, transit by the hour angle, azimuth at the event. Phases and ages are
compared in TT, which removes the two sides' different Delta T models.

  almanac_accuracy.py DUMP --check        a sample of months; exit 1 when a
                                          target is missed (the CTest)
  almanac_accuracy.py DUMP [--quick]      the report section for docs/accuracy.md
"""

import math
import subprocess
import sys

import ephem

REFRACTION = math.radians((35 + 8 / 60) / 60)
GRAZING = math.radians(0.1)
EVENTS = [  # name, body, threshold (None: the sun's upper limb), rising
    ("sun rise", "sun", None, True), ("sun set", "sun", None, False),
    ("moon rise", "moon", -REFRACTION, True), ("moon set", "moon", -REFRACTION, False),
    ("civil dawn", "sun", math.radians(-6), True), ("civil dusk", "sun", math.radians(-6), False),
    ("nautical dawn", "sun", math.radians(-12), True), ("nautical dusk", "sun", math.radians(-12), False),
    ("astronomical dawn", "sun", math.radians(-18), True), ("astronomical dusk", "sun", math.radians(-18), False),
]
TRANSITS = [("sun transit", "sun"), ("moon transit", "moon")]
PHASE_TARGETS = [ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon, ephem.next_last_quarter_moon]
DJD = 2415020.0  # PyEphem's dates count days from this Julian day


def run_dump(exe, site, year, month):
    lat, lon, tz, summer = site[1:]
    out = subprocess.run([exe, str(lat), str(lon), str(tz), str(summer), str(year), str(month)],
                         check=True, capture_output=True, text=True).stdout
    days, phases = [], []
    for line in out.splitlines():
        f = line.split()
        if f[0] == "D":
            # the offset of the clock each time is read on moves it to the
            # day's own clock (the last hour of a 25-hour day)
            offset = float(f[4])
            cross = [c.split(",") for c in f[6:18]]
            at = [(c[0], float(c[1]) + offset - float(c[3]), float(c[2])) for c in cross]
            days.append({"date": tuple(map(int, f[1:4])), "offset": offset, "length": float(f[5]) / 24,
                         "events": at[:10], "transits": at[10:12],
                         "age": float(f[18]), "illum": float(f[19]), "dt": float(f[20])})
        else:
            phases.append((int(f[1]), float(f[2]), float(f[3])))
    return days, phases


class Reference:
    """PyEphem's places for one site and one local day, scanned every STEP."""

    def __init__(self, site, step):
        self.obs = ephem.Observer()
        self.obs.lat, self.obs.lon = str(site[1]), str(site[2])
        self.obs.elevation, self.obs.pressure = 0, 0
        self.bodies = {"sun": ephem.Sun(), "moon": ephem.Moon()}
        self.step = step

    def place(self, body, t):
        self.obs.date = t
        b = self.bodies[body]
        b.compute(self.obs)
        return b

    def level(self, body, t, threshold):
        b = self.place(body, t)
        return b.alt + b.radius - (-REFRACTION) if threshold is None else b.alt - threshold

    def hour_angle(self, body, t):
        return math.remainder(float(self.place(body, t).ha), 2 * math.pi)

    @staticmethod
    def bisect(f, a, b, fa):
        while b - a > 1e-6:  # about 0.09 s
            m = (a + b) / 2
            fm = f(m)
            if (fm < 0) == (fa < 0):
                a, fa = m, fm
            else:
                b = m
        return (a + b) / 2

    def day(self, t0, length):
        n = round(length / self.step)
        times = [t0 + i / n for i in range(n + 1)]
        out = {"events": [], "transits": []}
        for name, body, thr, rising in EVENTS:
            f = lambda t, body=body, thr=thr: self.level(body, t, thr)
            vals = [f(t) for t in times]
            found = None
            for i in range(n):
                if (vals[i] < 0) != (vals[i + 1] < 0) and (vals[i] < 0) == rising:
                    found = self.bisect(f, times[i], times[i + 1], vals[i])
                    break
            grazing = abs(max(vals)) < GRAZING or abs(min(vals)) < GRAZING
            if found is not None and not grazing:
                # a culmination just before or after the event, perhaps on
                # the neighbouring date
                near = [f(found + k / 72) for k in range(-6, 7)]
                grazing = any((near[k] - near[k - 1]) * (near[k + 1] - near[k]) <= 0 and abs(near[k]) < GRAZING
                              for k in range(1, 12))
            az = float(self.place(body, found).az) if found is not None else None
            out["events"].append((found, az, grazing))
        for name, body in TRANSITS:
            f = lambda t, body=body: self.hour_angle(body, t)
            vals = [f(t) for t in times]
            found = None
            for i in range(n):
                if vals[i] < 0 <= vals[i + 1] and vals[i + 1] - vals[i] < math.pi:
                    found = self.bisect(f, times[i], times[i + 1], vals[i])
                    break
            alt = float(self.place(body, found).alt) if found is not None else None
            out["transits"].append((found, alt))
        return out


def compare_month(exe, site, year, month, step, stats):
    days, phases = run_dump(exe, site, year, month)
    ref = Reference(site, step)
    for d in days:
        y, m, dd = d["date"]
        t0 = ephem.Date("%d/%d/%d" % (y, m, dd)) - d["offset"] / 24
        r = ref.day(t0, d["length"])
        length = d["length"]
        for (name, *_), mine, (rt, raz, grazing) in zip(EVENTS, d["events"], r["events"]):
            s = stats.setdefault(name, new_stat())
            has = mine[0] == "y"
            if has and rt is not None:
                err = (t0 + mine[1] / 24 - rt) * 86400
                if grazing:
                    s["grazing"] += 1
                    continue
                s["dt"].append(abs(err))
                s["dt_high" if abs(site[1]) > 60 else "dt_low"].append(abs(err))
                s["daz"].append(abs(math.remainder(mine[2] - math.degrees(raz), 360)))
            elif has != (rt is not None):
                at = mine[1] / 24 if has else rt - t0
                if grazing:
                    s["grazing"] += 1
                elif min(at, length - at) * 86400 < 30:
                    s["midnight"] += 1
                else:
                    s["missing"].append("%s %d-%02d-%02d %s: engine %s, reference %s" % (
                        site[0], y, m, dd, name, mine[0], "yes" if rt is not None else "no"))
        for (name, _), mine, (rt, ralt) in zip(TRANSITS, d["transits"], r["transits"]):
            s = stats.setdefault(name, new_stat())
            if (mine[0] == "y") != (rt is not None):
                at = mine[1] / 24 if mine[0] == "y" else rt - t0
                if min(at, length - at) * 86400 < 30:
                    s["midnight"] += 1
                else:
                    s["missing"].append("%s %d-%02d-%02d %s" % (site[0], y, m, dd, name))
            elif rt is not None:
                err = (t0 + mine[1] / 24 - rt) * 86400
                s["dt"].append(abs(err))
                s["dt_high" if abs(site[1]) > 60 else "dt_low"].append(abs(err))
                s["dalt"].append(abs(mine[2] - math.degrees(ralt)))
        noon = t0 + 0.5
        prev = ephem.previous_new_moon(noon)
        ref_age = noon - (prev + (ephem.delta_t(prev) - d["dt"]) / 86400)
        stats.setdefault("moon age", new_stat())["dage"].append(abs(d["age"] - ref_age))
        # phase: the geocentric illuminated fraction in percent (moon_phase is a
        # rougher figure from the elongation)
        moon = ephem.Moon(noon)
        stats.setdefault("illumination", new_stat())["dill"].append(abs(d["illum"] - moon.phase / 100))
    for q, jd, dt in phases:
        ut = jd - DJD
        ref = PHASE_TARGETS[q](ut - 2)
        err = ((jd - DJD + dt / 86400) - (ref + ephem.delta_t(ref) / 86400)) * 86400
        stats.setdefault("phases", new_stat())["dph"].append(abs(err))


def new_stat():
    return {"dt": [], "dt_low": [], "dt_high": [], "daz": [], "dalt": [], "dage": [], "dill": [], "dph": [],
            "grazing": 0, "midnight": 0, "missing": []}


LIMITS = {"dt_low": 15, "dt_high": 60, "daz": 0.05, "dalt": 0.01, "dage": 0.001, "dill": 0.001, "dph": 60}

CHECK_SITES = [("Tokyo", 35.67, 139.5, 9, 0), ("Sydney", -33.87, 151.21, 10, 1),
               ("Tromso", 69.65, 18.96, 1, 1), ("Longyearbyen", 78.22, 15.65, 1, 0)]
CHECK_MONTHS = [(1901, 1), (1957, 6), (2031, 3), (2099, 12)]

REPORT_SITES = [("Tokyo", 35.69, 139.69, 9, 0), ("Sapporo", 43.06, 141.35, 9, 0), ("Naha", 26.21, 127.68, 9, 0),
                ("Cape Town", -33.92, 18.42, 2, 0), ("Tromso", 69.65, 18.96, 1, 0)]


def report_months(quick):
    step = 24 if quick else 8
    return [(y, 1 + (i * 5) % 12) for i, y in enumerate(range(1901, 2100, step))] + \
           [(y, 1 + (i * 5 + 6) % 12) for i, y in enumerate(range(1901, 2100, step))]


def main():
    exe = sys.argv[1]
    check = "--check" in sys.argv
    stats = {}
    if check:
        for i, site in enumerate(CHECK_SITES):
            for year, month in CHECK_MONTHS[i % 2::2]:
                compare_month(exe, site, year, month, 1 / 48, stats)
    else:
        for site in REPORT_SITES:
            for year, month in report_months("--quick" in sys.argv):
                compare_month(exe, site, year, month, 1 / 144, stats)
    failed = []
    print("| quantity | compared | median | worst | grazing | at midnight | one side only |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for name, s in stats.items():
        for key, limit in LIMITS.items():
            vals = sorted(s[key])
            if not vals:
                continue
            unit = {"daz": "°", "dalt": "°", "dage": " d", "dill": ""}.get(key, " s")
            label = name + {"dt_low": " (|lat| ≤ 60°)", "dt_high": " (|lat| > 60°)", "daz": " azimuth",
                            "dalt": " altitude"}.get(key, "")
            print("| %s | %d | %.4g%s | %.4g%s | %d | %d | %d |" % (
                label, len(vals), vals[len(vals) // 2], unit, vals[-1], unit, s["grazing"], s["midnight"],
                len(s["missing"])))
            if vals[-1] > limit:
                failed.append("%s: worst %.4g over %.4g" % (label, vals[-1], limit))
        failed += s["missing"]
    for f in failed:
        print("FAIL" if check else "over the target:", f)
    return 1 if check and failed else 0


if __name__ == "__main__":
    sys.exit(main())
