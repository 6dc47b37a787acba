"""PyEphem's time per date (microseconds) for the sun's and the moon's rise,
set and transit at Tokyo, pressure 0, horizon -35'08" (moon by its centre)."""
import time

import ephem

obs = ephem.Observer()
obs.lat, obs.lon, obs.elevation, obs.pressure, obs.horizon = "35.67", "139.5", 0, 0, "-0:35:08"
sun, moon = ephem.Sun(), ephem.Moon()
start = ephem.Date("2000/1/1") - 9 / 24.0
n = 1000
t = time.process_time()
for i in range(n):
    for body, centre in ((sun, False), (moon, True)):
        obs.date = start + i
        for f in (obs.next_rising, obs.next_setting):
            try:
                f(body, use_center=centre)
            except ephem.CircumpolarError:
                pass
        obs.next_transit(body)
print((time.process_time() - t) / n * 1e6)  # CPU time
