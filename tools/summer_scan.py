#!/usr/bin/python3
"""Counts events that summer time loses or doubles in lunvelde-table --csv.

Every event of the month tables without summer time is looked for in the
tables with summer time: an instant (UT, to the second) is in the second set
when some row gives the same event at the same instant on the clock of its
date or, in the hour after a fall-back, on the next date's clock (the CSV
gives the clock time only). An event found under no row is lost, one found
under two rows is doubled, a row's event matching nothing is spurious.

  summer_scan.py TABLE LAT LON TZ FIRST_YEAR LAST_YEAR [MONTH ...]
"""

import datetime
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

EVENTS = ["sunrise", "sun_transit", "sunset", "moonrise", "moon_transit", "moonset", "civil_dawn", "civil_dusk",
          "nautical_dawn", "nautical_dusk", "astronomical_dawn", "astronomical_dusk"]
TOLERANCE = 2  # seconds: the two runs' day frames differ by milliseconds


def month_rows(exe, lat, lon, tz, summer, year, month):
    args = [exe, "--year", str(year), "--month", str(month), "--lat", lat, "--lon", lon, "--tz", tz, "--csv"]
    if summer:
        args.append("--summer")
    out = subprocess.run(args, check=True, capture_output=True, text=True).stdout.splitlines()
    head = out[0].split(",")
    rows = []
    for line in out[1:]:
        f = dict(zip(head, line.split(",")))
        date = datetime.date.fromisoformat(f["date"])
        rows.append((date, {e: f[e] for e in EVENTS if ":" in f[e]}))
    return rows


def seconds(text):
    h, m, s = map(int, text.split(":"))
    return h * 3600 + m * 60 + s


def summer_on(date, lat, summer):
    """The summer-time rule of the program: whole months, April-September north, October-March south."""
    if not summer:
        return False
    north = 4 <= date.month <= 9
    return lat > 0 if north else lat < 0


def main():
    exe, lat, lon, tz, y0, y1 = sys.argv[1:7]
    months = [int(m) for m in sys.argv[7:]] or list(range(1, 13))
    tzh = float(tz)
    jobs = [(y, m, s) for y in range(int(y0), int(y1) + 1) for m in months for s in (False, True)]
    with ThreadPoolExecutor(2) as pool:
        results = list(pool.map(lambda j: (j, month_rows(exe, lat, lon, tz, j[2], j[0], j[1])), jobs))
    epoch = datetime.date(1900, 1, 1)
    epoch_t = datetime.datetime(1900, 1, 1)
    ref, got = {e: {} for e in EVENTS}, {e: [] for e in EVENTS}
    for (y, m, summer), rows in results:
        for date, events in rows:
            day = (date - epoch).days * 86400
            off = tzh + summer_on(date, float(lat), summer)
            nxt = tzh + summer_on(date + datetime.timedelta(days=1), float(lat), summer)
            for e, t in events.items():
                local = day + seconds(t)
                if not summer:
                    ref[e][round(local - off * 3600)] = 0
                else:
                    cands = [local - off * 3600]
                    if nxt < off and seconds(t) >= 24 * 3600 - (off - nxt) * 3600:
                        cands.append(local - nxt * 3600)
                    got[e].append((date, t, cands))
    lost = doubled = spurious = 0
    for e in EVENTS:
        keys = ref[e]
        for date, t, cands in got[e]:
            hit = None
            for c in cands:
                for k in range(round(c) - TOLERANCE, round(c) + TOLERANCE + 1):
                    if k in keys:
                        hit = k
                        break
                if hit is not None:
                    break
            if hit is None:
                spurious += 1
                print(f"spurious {e} {date} {t}")
            else:
                keys[hit] += 1
        for k, n in keys.items():
            if n == 0:
                lost += 1
                print(f"lost {e} at UT {epoch_t + datetime.timedelta(seconds=k)}")
            elif n > 1:
                doubled += 1
                print(f"doubled {e} at UT {epoch_t + datetime.timedelta(seconds=k)}")
    total = sum(len(v) for v in ref.values())
    print(f"{lat} {lon} UT{tzh:+g} {y0}-{y1}: {total} events, {lost} lost, {doubled} doubled, {spurious} spurious")
    return 1 if lost or doubled or spurious else 0


if __name__ == "__main__":
    sys.exit(main())
