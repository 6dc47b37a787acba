// The module under node against the desktop build: the month table rows and
// the precise month as CSV for many site-months, byte for byte, the Japanese
// calendar's month CSV and day lines, and the time of the calls the page
// makes.
// The four lines and the phase picture's pixels for days spread over all
// ages of the moon, against the desktop's code built natively.
//   node figures.test.js WEBDIR LUNVELDE_TABLE WEB_REFERENCE FULLMOON_RGB OUTDIR
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');

const [webDir, tableExe, referenceExe, moonRgb, outDir] = process.argv.slice(2);
const Lunvelde = require(path.resolve(webDir, 'lunvelde.js'));

// Sites in both hemispheres, east and west, with and without summer time,
// high latitudes included; each over months of different years.
const SITES = [
  ['三鷹', '35.67', '139.5', '9', 0], ['札幌', '43.06', '141.35', '9', 0], ['那覇', '26.21', '127.68', '9', 0],
  ['Sydney', '-33.87', '151.21', '10', 1], ['London', '51.48', '-0.01', '0', 1], ['New York', '40.71', '286', '-5', 1],
  ['Tromsø', '69.65', '18.96', '1', 0], ['Ushuaia', '-54.8', '-68.3', '-3', 0], ['Quito', '-0.18', '-78.47', '-5', 0],
  ['Reykjavik', '64.15', '-21.94', '0', 0],
];
const MONTHS = [[1901, 1], [1950, 2], [1969, 7], [1988, 3], [2000, 2], [2004, 6], [2012, 10], [2024, 12],
                [2038, 1], [2061, 9], [2080, 4], [2099, 12]];

Lunvelde().then((M) => {
  const call = (name, types, args) => M.ccall(name, 'string', types, args);
  call('lv_init', [], []);
  let rowsSame = 0, csvSame = 0, total = 0;
  const diffs = [];
  for (const [name, lat, lon, tz, summer] of SITES) {
    const taken = call('lv_take_site', ['string', 'string', 'string', 'string', 'number'], ['', lat, lon, tz, summer]);
    if (taken) throw new Error(name + ': ' + taken);
    for (const [y, m] of MONTHS) {
      call('lv_set_date', ['string', 'string', 'string'], [String(y), String(m), '1']);
      const args = ['--year', String(y), '--month', String(m), '--lat', lat, '--lon', lon, '--tz', tz];
      if (summer) args.push('--summer');
      const rows = execFileSync(tableExe, args).toString('utf8');
      const csv = execFileSync(tableExe, [...args, '--csv']).toString('utf8');
      ++total;
      if (call('lv_month_rows', [], []) === rows) ++rowsSame; else diffs.push(`rows ${name} ${y}-${m}`);
      if (call('lv_month_csv', [], []) === csv) ++csvSame; else diffs.push(`csv ${name} ${y}-${m}`);
    }
  }
  // Days 7 apart drift through the lunation (the month is 29.53 days).
  let daysSame = 0, days = 0;
  call('lv_take_site', ['string', 'string', 'string', 'string', 'number'], ['', '-33.87', '151.21', '10', 1]);
  call('lv_set_date', ['string', 'string', 'string'], ['1995', '3', '1']);
  for (let i = 0; i < 200; ++i) {
    for (let k = 0; k < 7; ++k) call('lv_step', ['number'], [1]);
    const d = JSON.parse(call('lv_date', [], []));
    const lines = call('lv_day', [], []);
    const ptr = M.ccall('lv_pixels', 'number', [], []);
    let h = 2166136261;
    for (let p = ptr; p < ptr + 151 * 136 * 4; p += 4)
      for (let c = 0; c < 3; ++c) h = Math.imul(h ^ M.HEAPU8[p + c], 16777619) >>> 0;
    const shown = lines + '\npixels ' + h.toString(16).padStart(8, '0') + '\n';
    const expected = execFileSync(referenceExe, ['-33.87', '151.21', '10', '1', String(d.year), String(d.month),
                                                 String(d.day), moonRgb]).toString('utf8');
    ++days;
    if (shown === expected) ++daysSame; else diffs.push(`day ${d.year}-${d.month}-${d.day}`);
  }

  // The Japanese calendar: the month's CSV as lunvelde-table --koyomi writes
  // it, and the details' lines for days with a leap month, holidays, solar
  // terms and the ends of the range.
  let koyomiSame = 0, linesSame = 0;
  for (const [y, m] of MONTHS) {
    call('lv_set_date', ['string', 'string', 'string'], [String(y), String(m), '1']);
    const csv = execFileSync(tableExe, ['--koyomi', '--year', String(y), '--month', String(m)]).toString('utf8');
    if (call('lv_koyomi_csv', [], []) === csv) ++koyomiSame; else diffs.push(`koyomi csv ${y}-${m}`);
  }
  const KOYOMI_DAYS = [[1901, 1, 1], [1989, 1, 8], [2024, 3, 20], [2033, 12, 22], [2034, 1, 20], [2099, 12, 31]];
  for (const [y, m, d] of KOYOMI_DAYS) {
    call('lv_set_date', ['string', 'string', 'string'], [String(y), String(m), String(d)]);
    const lines = JSON.parse(call('lv_koyomi_lines', [], [])).map((l) => l + '\n').join('');
    const expected = execFileSync(referenceExe, ['--koyomi', String(y), String(m), String(d)]).toString('utf8');
    if (lines === expected) ++linesSame; else diffs.push(`koyomi lines ${y}-${m}-${d}`);
  }

  // Time of one day step as the page makes it: step, the four lines with the
  // picture, the details.
  call('lv_take_site', ['string', 'string', 'string', 'string', 'number'], ['', '35.67', '139.5', '9', 0]);
  const t0 = performance.now();
  const n = 365;
  for (let i = 0; i < n; ++i) {
    call('lv_step', ['number'], [1]);
    call('lv_day', [], []);
    call('lv_details', [], []);
    call('lv_koyomi_lines', [], []);
    call('lv_day_graph', ['number', 'number', 'number'], [520, 250, Date.now() / 1000]);
  }
  const stepMs = (performance.now() - t0) / n;
  const figures = { siteMonths: total, rowsIdentical: rowsSame, csvIdentical: csvSame, days, daysIdentical: daysSame,
                    koyomiMonths: MONTHS.length, koyomiCsvIdentical: koyomiSame, koyomiDays: KOYOMI_DAYS.length,
                    koyomiLinesIdentical: linesSame,
                    nodeStepMs: +stepMs.toFixed(2), moduleBytes: fs.statSync(path.join(webDir, 'lunvelde.js')).size };
  fs.mkdirSync(outDir, { recursive: true });
  fs.writeFileSync(path.join(outDir, 'node-figures.json'), JSON.stringify(figures, null, 1) + '\n');
  console.log('figures:', JSON.stringify(figures));
  if (diffs.length) {
    console.error('differ from the desktop build:\n  ' + diffs.join('\n  '));
    process.exit(1);
  }
});
