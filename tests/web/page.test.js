// The page in headless Chromium, opened from disk: its figures against the
// desktop build byte for byte, day steps, a site added and found again after
// a reload, a site file imported and exported unchanged, the CSV downloads,
// the calendar lines and the day graph's marks against the details,
// no network request, and two screenshots.
//   node page.test.js WEBDIR LUNVELDE_TABLE WEB_REFERENCE SAMPLE_SITES OUTDIR
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { Browser } = require('./cdp.js');

const [webDir, tableExe, referenceExe, sampleSites, outDir] = process.argv.slice(2);
const moonRgb = path.join(webDir, '..', 'web-build', 'fullmoon.rgb');
const url = 'file://' + path.resolve(webDir, 'index.html');
fs.mkdirSync(outDir, { recursive: true });
const downloads = fs.mkdtempSync(path.join(outDir, 'downloads-'));

function native(site, year, month, extra = []) {
  const args = ['--year', String(year), '--month', String(month), '--lat', site.lat.trim(), '--lon', site.lon.trim(),
                '--tz', site.tz.trim(), ...(site.summer ? ['--summer'] : []), ...extra];
  return execFileSync(tableExe, args).toString('latin1');
}
function referenceDay(site, d) {
  return execFileSync(referenceExe, [site.lat.trim(), site.lon.trim(), site.tz.trim(), String(site.summer ? 1 : 0),
                                     String(d.year), String(d.month), String(d.day), moonRgb]).toString('utf8');
}

// What the page shows: the four lines and the FNV-1a hash of the picture's RGB.
const SHOWN = `(() => {
  const px = document.getElementById('imgDisp').getContext('2d').getImageData(0, 0, 151, 136).data;
  let h = 2166136261;
  for (let i = 0; i < px.length; i += 4)
    for (let k = 0; k < 3; ++k) h = Math.imul(h ^ px[i + k], 16777619) >>> 0;
  const line = (id) => document.getElementById(id).textContent;
  return line('lblDate') + '\\n' + line('lblSun') + '\\n' + line('lblMoon') + '\\n' + line('lblAge') + '\\n' +
         'pixels ' + h.toString(16).padStart(8, '0') + '\\n';
})()`;
// The details' calendar lines; and each mark of the day graph with the
// details' time of its event, and how many of the six events have a time.
const KOYOMI = `[...koyomiLines.children].map((e) => e.textContent + '\\n').join('')`;
const MARKS = `(() => {
  const times = [...document.querySelectorAll('#tblEvents tbody tr')].slice(0, 6).map((r) => r.children[1].textContent);
  const row = { sun: 0, moon: 3, rise: 0, transit: 1, set: 2 };
  return { labels: lunvelde.dayGraph.marks.map((m) => [m[6], times[row[m[0]] + row[m[1]]]]),
           timed: times.filter((t) => /^\\d\\d:\\d\\d$/.test(t)).length };
})()`;
const DATE = `({year: +txtYear.value, month: +txtMonth.value, day: +txtDay.value})`;
const FIELDS = `({lat: editLati.value, lon: editLongi.value, tz: editTz.value, summer: chkSummer.checked ? 1 : 0})`;

async function main() {
  const browser = new Browser();
  const requests = [];
  const problems = [];
  const downloaded = [];
  browser.on((m) => {
    if (m.method === 'Network.requestWillBeSent') requests.push(m.params.request.url);
    if (m.method === 'Runtime.exceptionThrown') problems.push(m.params.exceptionDetails.exception?.description);
    if (m.method === 'Browser.downloadProgress' && m.params.state === 'completed') downloaded.push(m.params.guid);
  });
  try {
    const page = await browser.newPage();
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Network.enable');
    await browser.send('Browser.setDownloadBehavior',
                       { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
    await page.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 900, deviceScaleFactor: 1, mobile: false });

    // Opening: today's figures for the first sample site, from the module.
    await page.load(url);
    await page.waitUntil('window.lunvelde && lunvelde.ready');
    const first = await page.eval('lunvelde.firstFiguresMs');
    const mitaka = await page.eval(FIELDS);
    assert.deepStrictEqual(mitaka, { lat: '  35.67', lon: ' 139.50', tz: '  9.00', summer: 0 });
    assert.strictEqual(await page.eval(SHOWN), referenceDay(mitaka, await page.eval(DATE)), 'today at the first site');

    // Sites and months: the four lines, the picture and the table rows.
    const setSite = async (s) => page.eval(`cmbName.value = ${JSON.stringify(s.name)}; editLati.value = '${s.lat}';
      editLongi.value = '${s.lon}'; editTz.value = '${s.tz}'; chkSummer.checked = ${!!s.summer}; cmdOK.click(); msg.textContent`);
    const setDate = async (y, m, d) => page.eval(`txtYear.value = '${y}'; txtMonth.value = '${m}'; txtDay.value = '${d}';
      cmdDateOK.click(); msg.textContent`);
    const cases = [
      [{ sample: 3 }, 2000, 5, 12], [{ sample: 10 }, 1901, 1, 1], [{ sample: 20 }, 2099, 12, 31],
      [{ name: 'シドニー', lat: '-33.87', lon: '151.21', tz: '10', summer: 1 }, 2024, 1, 15],
      [{ name: 'Greenwich', lat: '51.48', lon: '0', tz: '0', summer: 1 }, 2023, 7, 4],
      [{ name: 'Tromsø', lat: '69.65', lon: '18.96', tz: '1', summer: 0 }, 2025, 6, 21],
      [{ name: '西', lat: '40.7', lon: '286', tz: '-5', summer: 0 }, 1999, 2, 28],
    ];
    let checked = 0, graphMarks = 0;
    for (const [site, y, m, d] of cases) {
      if (site.sample !== undefined) {
        await page.eval(`cmbSites.value = 'res:${site.sample}'; cmbSites.dispatchEvent(new Event('change'))`);
      } else {
        assert.strictEqual(await setSite(site), '', 'site taken');
      }
      assert.strictEqual(await setDate(y, m, d), '', 'date taken');
      const fields = await page.eval(FIELDS);
      assert.strictEqual(await page.eval(SHOWN), referenceDay(fields, { year: y, month: m, day: d }),
                         `lines at ${JSON.stringify(site)} ${y}-${m}-${d}`);
      assert.strictEqual(await page.eval('tblRows.textContent'), native(fields, y, m), `rows ${y}-${m}`);
      assert.strictEqual(await page.eval(KOYOMI), execFileSync(referenceExe, ['--koyomi', y, m, d].map(String)).toString(),
                         `koyomi ${y}-${m}-${d}`);
      const marks = await page.eval(MARKS);
      for (const [label, time] of marks.labels) assert.strictEqual(label, time, `graph mark ${y}-${m}-${d}`);
      assert.strictEqual(marks.labels.length, marks.timed, `a mark for every timed event ${y}-${m}-${d}`);
      graphMarks += marks.labels.length;
      ++checked;
    }

    // クリップ copies the rows as the desktop's clipboard holds them.
    const copied = await page.eval(`new Promise((resolve) => {
      Object.defineProperty(navigator, 'clipboard', { value: { writeText: (t) => (resolve(t), Promise.resolve()) } });
      cmdClip.click();
    })`);
    assert.strictEqual(copied, native(await page.eval(FIELDS), 1999, 2), 'clipboard text');

    // The dialogs' checks and messages.
    assert.strictEqual(await setDate('2000', '13', '1'), '入力された値の範囲が不正です。');
    assert.strictEqual(await setDate('20x0', '1', '1'), '不正な文字が入力されています。');
    assert.strictEqual(await setSite({ name: 'x', lat: '91', lon: '0', tz: '0' }), '入力した数字の範囲が不正です。');
    assert.strictEqual(await setSite({ name: 'x', lat: '3,5', lon: '0', tz: '0' }), '入力した数字が不正です。');

    // Day steps: the arrow keys, the buttons and a click on the picture.
    await page.eval(`cmbSites.value = 'res:0'; cmbSites.dispatchEvent(new Event('change'))`);
    await setDate(2000, 12, 31);
    const key = async (k, code) => {
      await page.send('Input.dispatchKeyEvent', { type: 'keyDown', key: k, code: k, windowsVirtualKeyCode: code });
      await page.send('Input.dispatchKeyEvent', { type: 'keyUp', key: k, code: k, windowsVirtualKeyCode: code });
    };
    await page.eval('document.activeElement.blur()');
    await key('ArrowRight', 39);
    assert.deepStrictEqual(await page.eval(DATE), { year: 2001, month: 1, day: 1 });
    assert.strictEqual(await page.eval(SHOWN), referenceDay(mitaka, { year: 2001, month: 1, day: 1 }));
    assert.strictEqual(await page.eval('tblRows.textContent'), native(mitaka, 2001, 1), 'rows follow the step');
    await key('ArrowLeft', 37);
    await page.eval('cmdBefore.click()');
    assert.deepStrictEqual(await page.eval(DATE), { year: 2000, month: 12, day: 30 });
    await page.eval('imgDisp.click(); cmdNext.click()');
    assert.deepStrictEqual(await page.eval(DATE), { year: 2001, month: 1, day: 1 });
    const steps = [];
    for (let i = 0; i < 40; ++i) steps.push(await page.eval('cmdNext.click(), lunvelde.stepMs'));
    steps.sort((a, b) => a - b);

    // A site of one's own: registered, kept over a reload, chosen again.
    assert.strictEqual(await page.eval('lunvelde.userSites()'), 0);
    assert.strictEqual(await setSite({ name: '摩周湖', lat: '43.58', lon: '144.53', tz: '9', summer: 0 }), '');
    assert.strictEqual(await page.eval('cmdWrite.click(), msg.textContent'), '');
    await page.load(url);
    await page.waitUntil('window.lunvelde && lunvelde.ready');
    assert.strictEqual(await page.eval(`[...cmbSites.querySelectorAll('option')].filter(o => o.value.startsWith('user:')).map(o => o.textContent).join()`), '摩周湖');
    await page.eval(`cmbSites.value = 'user:0'; cmbSites.dispatchEvent(new Event('change'))`);
    assert.deepStrictEqual(await page.eval(`[cmbName.value, ${FIELDS}]`),
                           ['摩周湖', { lat: '  43.58', lon: ' 144.53', tz: '  9.00', summer: 0 }]);
    assert.strictEqual(await page.eval('siteTitle.textContent'), '摩周湖');

    // Downloads land in the folder under their own names.
    const nextDownload = async (click) => {
      const before = downloaded.length;
      await page.eval(click);
      const end = Date.now() + 10000;
      while (downloaded.length === before && Date.now() < end) await new Promise((r) => setTimeout(r, 20));
      assert.ok(downloaded.length > before, 'download finished: ' + click);
      return fs.readFileSync(path.join(downloads, downloaded[downloaded.length - 1]));
    };
    const exported = await nextDownload('cmdExport.click()');
    assert.strictEqual(exported.length, 50, 'one record');
    assert.strictEqual(new TextDecoder('shift_jis').decode(exported),
                       '摩周湖          ' + '  43.58, 144.53,  9.00, 0000, 0,\r\n', 'export of the registered site');

    // Import of the sample list (Shift-JIS, as the desktop reads it), then
    // its export byte for byte; a file without a record is refused.
    const fileInput = async (file) => {
      const { result } = await page.send('Runtime.evaluate', { expression: 'fileImport' });
      await page.send('DOM.setFileInputFiles', { files: [file], objectId: result.objectId });
    };
    const empty = path.join(downloads, 'empty.txt');
    fs.writeFileSync(empty, '');
    await fileInput(empty);
    await page.waitUntil(`msg.textContent === 'ファイルが読めません'`);
    assert.strictEqual(await page.eval('lunvelde.userSites()'), 1, 'a refused file leaves the list');
    await fileInput(path.resolve(sampleSites));
    const sampleBytes = fs.readFileSync(sampleSites);
    const sampleLines = sampleBytes.toString('latin1').split('\n').length - 1;
    await page.waitUntil(`lunvelde.userSites() === ${sampleLines}`);
    assert.strictEqual(await page.eval('msg.textContent'), '');
    assert.ok((await nextDownload('cmdExport.click()')).equals(sampleBytes), 'export equals the imported file');

    // The precise month as CSV, as lunvelde-table --csv writes it.
    await page.eval(`cmbSites.value = 'res:0'; cmbSites.dispatchEvent(new Event('change'))`);
    await setDate(2024, 2, 10);
    assert.strictEqual((await nextDownload('cmdCsv.click()')).toString('latin1'), native(mitaka, 2024, 2, ['--csv']));
    // The calendar's month, as the desktop saves it, and its table.
    assert.ok((await nextDownload('cmdKoyomiCsv.click()'))
      .equals(execFileSync(tableExe, ['--koyomi', '--year', '2024', '--month', '2'])), 'koyomi csv');
    assert.deepStrictEqual(await page.eval(`[koyomiMonth.textContent, tblKoyomi.tBodies[0].rows.length,
      tblKoyomi.querySelector('tr.today').cells[0].textContent]`), ['2024年2月', 29, '2/10']);

    // No request leaves the page: a fetch is refused by its policy.
    const refused = await page.eval(`new Promise((resolve) => {
      document.addEventListener('securitypolicyviolation', (e) => resolve(e.effectiveDirective), { once: true });
      fetch('http://127.0.0.1:9/probe').then(() => resolve('fetched'), () => setTimeout(() => resolve('no policy'), 500));
    })`);
    assert.strictEqual(refused, 'connect-src', 'the policy refuses a fetch');
    const outside = requests.filter((u) => !/^(file|data|blob):/.test(u));
    assert.deepStrictEqual(outside, [], 'requests outside the page');
    assert.deepStrictEqual(problems, [], 'exceptions in the page');

    // Screenshots at a desktop width and a phone width.
    for (const [name, width, mobile] of [['web-desktop.png', 1280, false], ['web-phone.png', 390, true]]) {
      await page.send('Emulation.setDeviceMetricsOverride', { width, height: 800, deviceScaleFactor: 1, mobile });
      const { cssContentSize } = await page.send('Page.getLayoutMetrics');
      const height = Math.ceil(cssContentSize.height);
      await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile });
      const shot = await page.send('Page.captureScreenshot', { format: 'png' });
      fs.writeFileSync(path.join(outDir, name), Buffer.from(shot.data, 'base64'));
    }

    const figures = { firstFiguresMs: +first.toFixed(1), stepMedianMs: +steps[steps.length >> 1].toFixed(2),
                      stepMaxMs: +steps[steps.length - 1].toFixed(2), casesChecked: checked, graphMarks, requests: requests.length };
    fs.writeFileSync(path.join(outDir, 'page-figures.json'), JSON.stringify(figures, null, 1) + '\n');
    console.log('page:', JSON.stringify(figures));
  } finally {
    await browser.close();
    fs.rmSync(downloads, { recursive: true, force: true });
  }
}

main().catch((e) => {
  console.error('page test failed:', e.message);
  process.exit(1);
});
