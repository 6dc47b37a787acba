// Times of the web page in headless Chromium: from opening build/web/index.html
// from disk to the first figures on screen, in a fresh browser profile (first
// opening) and on reloads, and the time of a day step.
//   node tools/measure-web.js [WEBDIR] [RUNS]
'use strict';
const path = require('path');
const { Browser } = require('../tests/web/cdp.js');

const webDir = process.argv[2] || 'build/web';
const runs = Number(process.argv[3] || 7);
const url = 'file://' + path.resolve(webDir, 'index.html');
const median = (a) => a.slice().sort((x, y) => x - y)[a.length >> 1];
const pct = (a, p) => a.slice().sort((x, y) => x - y)[Math.min(a.length - 1, Math.floor(a.length * p))];

(async () => {
  const first = [], start = [], reload = [], steps = [];
  for (let r = 0; r < runs; ++r) {
    const browser = new Browser();
    try {
      const page = await browser.newPage();
      await page.send('Page.enable');
      for (let i = 0; i < 3; ++i) {
        await page.load(url);
        await page.waitUntil('window.lunvelde && lunvelde.ready');
        (i === 0 ? first : reload).push(await page.eval('lunvelde.firstFiguresMs'));
        if (i === 0) start.push(await page.eval('lunvelde.scriptStartMs'));
      }
      for (let i = 0; i < 100; ++i) steps.push(await page.eval('cmdNext.click(), lunvelde.stepMs'));
    } finally {
      await browser.close();
    }
  }
  const f = (x) => x.toFixed(1);
  console.log(`first opening, fresh profile: median ${f(median(first))} ms (${first.map(f).join(', ')})`);
  console.log(`  of which before the page's script starts (page, style and module script loaded): median ` +
              `${f(median(start))} ms; from there to the figures (module started, first day): median ` +
              `${f(median(first.map((x, i) => x - start[i])))} ms`);
  console.log(`reload: median ${f(median(reload))} ms`);
  console.log(`day step: median ${f(median(steps))} ms, 95% ${f(pct(steps, 0.95))} ms, max ${f(Math.max(...steps))} ms` +
              ` (${steps.length} steps)`);
})();
