// astronomy-engine's time per date (microseconds) for the sun's and the
// moon's rise and set at Tokyo.
const Astronomy = require("astronomy-engine");
const obs = new Astronomy.Observer(35.67, 139.5, 0);
const start = new Date(Date.UTC(2000, 0, 1) - 9 * 3600e3);
const n = 1000;
const t = process.cpuUsage();  // CPU time, as the other two are measured
for (let i = 0; i < n; ++i) {
    const d = new Date(start.getTime() + i * 86400e3);
    for (const body of [Astronomy.Body.Sun, Astronomy.Body.Moon])
        for (const dir of [+1, -1])
            Astronomy.SearchRiseSet(body, obs, dir, d, 1);
}
const used = process.cpuUsage(t);
console.log((used.user + used.system) / n);
