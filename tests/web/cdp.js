// Headless Chromium driven over the DevTools protocol on a pipe (file
// descriptors 3 and 4, messages ended by NUL): no network port, no npm
// package.
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
               '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--remote-debugging-pipe'];

class Browser {
  constructor(exe = '/usr/bin/chromium') {
    this.profile = fs.mkdtempSync(path.join(os.tmpdir(), 'lunvelde-chromium-'));
    this.proc = spawn(exe, [...FLAGS, '--user-data-dir=' + this.profile, 'about:blank'],
                      { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'], detached: true });
    this.log = '';
    this.proc.stderr.on('data', (d) => { this.log = (this.log + d).slice(-4000); });
    this.toBrowser = this.proc.stdio[3];
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    let buffer = '';
    this.proc.stdio[4].on('data', (chunk) => {
      buffer += chunk.toString('utf8');
      let end;
      while ((end = buffer.indexOf('\0')) >= 0) {
        const msg = JSON.parse(buffer.slice(0, end));
        buffer = buffer.slice(end + 1);
        if (msg.id && this.pending.has(msg.id)) {
          const { resolve, reject, method } = this.pending.get(msg.id);
          this.pending.delete(msg.id);
          if (msg.error) reject(new Error(method + ': ' + msg.error.message));
          else resolve(msg.result);
        } else if (msg.method) {
          for (const l of this.listeners) l(msg);
        }
      }
    });
  }

  send(method, params = {}, sessionId) {
    const id = this.nextId++;
    const msg = { id, method, params };
    if (sessionId) msg.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.toBrowser.write(JSON.stringify(msg) + '\0');
    });
  }

  on(listener) {
    this.listeners.push(listener);
  }

  // Resolves with the first event of that name (and session) that passes the test.
  waitFor(method, test = () => true, ms = 20000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => reject(new Error('timed out waiting for ' + method)), ms);
      const l = (msg) => {
        if (msg.method === method && test(msg.params)) {
          clearTimeout(timer);
          this.listeners.splice(this.listeners.indexOf(l), 1);
          resolve(msg.params);
        }
      };
      this.listeners.push(l);
    });
  }

  // A new tab; returns a page object bound to its session.
  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    return new Page(this, sessionId);
  }

  // Closes the browser and waits until every process it started (its own
  // process group) is gone, then removes the profile.
  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch (e) { /* already gone */ }
    const group = -this.proc.pid;
    const alive = () => {
      try {
        process.kill(group, 0);
        return true;
      } catch (e) {
        return false;
      }
    };
    for (let i = 0; alive() && i < 100; ++i) {
      if (i === 30) process.kill(group, 'SIGKILL');
      await new Promise((r) => setTimeout(r, 50));
    }
    fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 5, retryDelay: 100 });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
  }

  send(method, params) {
    return this.browser.send(method, params, this.sessionId);
  }

  // The value of an expression in the page (promises awaited).
  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails)
      throw new Error('in page: ' + (r.exceptionDetails.exception ? r.exceptionDetails.exception.description
                                                                   : r.exceptionDetails.text));
    return r.result.value;
  }

  async waitUntil(expression, ms = 20000) {
    const end = Date.now() + ms;
    while (Date.now() < end) {
      if (await this.eval(expression)) return;
      await new Promise((r) => setTimeout(r, 20));
    }
    throw new Error('timed out: ' + expression);
  }

  async load(url) {
    const loaded = this.browser.waitFor('Page.loadEventFired', () => true);
    await this.send('Page.navigate', { url });
    await loaded;
  }
}

module.exports = { Browser, FLAGS };
