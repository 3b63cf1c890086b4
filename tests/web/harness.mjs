// What the browser tests share: their arguments, a report of checks, a
// static server for the site on 127.0.0.1, headless Chromium with software
// WebGL, and a probe of the running game's state.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const GS = {MMENU: 0, OPTIONS: 1, CHLVL: 2, GAME: 3};
export const sleep = ms => new Promise(r => setTimeout(r, ms));

// --name value pairs; every name in `need` must be given.
export function parseArgs(need, usage) {
  const args = Object.fromEntries(process.argv.slice(2).reduce((pairs, a, i, all) => {
    if (a.startsWith('--')) pairs.push([a.slice(2), all[i + 1]]);
    return pairs;
  }, []));
  for (const n of need)
    if (!args[n]) {
      console.error(`usage: ${usage} (no --${n})`);
      process.exit(2);
    }
  fs.mkdirSync(args.out, {recursive: true});
  return args;
}

export class Report {
  constructor() {
    this.failures = [];
    this.data = {};
  }
  check(ok, what) {
    console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
    if (!ok) this.failures.push(what);
    return ok;
  }
  // The console errors and failed requests a page reported, each a failure.
  checkProblems(problems) {
    for (const problem of problems) this.check(false, problem);
    if (!problems.length) this.check(true, 'no console error, no failed request');
  }
  // Runs a test's steps; a step that throws (but for a deliberate stop) is a
  // failure; `cleanup` runs whatever happened, then the report is finished.
  async run(out, steps, cleanup) {
    try {
      await steps();
    } catch (e) {
      if (e.message !== 'stopped') this.check(false, `test stopped: ${e.stack || e}`);
    } finally {
      await cleanup();
    }
    this.finish(out);
  }
  // Writes summary.json and ends the process: non-zero on any failure.
  finish(out) {
    this.data.failures = this.failures;
    fs.writeFileSync(path.join(out, 'summary.json'), JSON.stringify(this.data, null, 2) + '\n');
    console.log(JSON.stringify(this.data));
    process.exit(this.failures.length ? 1 : 0);
  }
}

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
};

// Serves `site` (and the extra files, by URL path) on 127.0.0.1; resolves to
// {server, url} with the page's address.
export async function serve(site, extra = {}) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname);
    const file = extra[name] || path.join(path.resolve(site), path.normalize(name));
    fs.readFile(file, (err, data) => {
      if (err) {
        res.writeHead(404);
        res.end();
        return;
      }
      res.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      res.end(data);
    });
  });
  await new Promise(r => server.listen(0, '127.0.0.1', r));
  return {server, url: `http://127.0.0.1:${server.address().port}/thalomir.html`};
}

// This machine has no network and no GPU: software WebGL, nothing fetched
// from outside, a fresh profile every run (removed by close()).
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'thalomir-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--no-first-run', '--disable-quic', '--autoplay-policy=user-gesture-required'],
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, {recursive: true, force: true});
  };
  return {browser, close};
}

// Collects the page's console errors, failed requests and HTTP errors.
export function watchProblems(page) {
  const problems = [];
  page.on('console', m => {
    if (m.type() === 'error') problems.push(`console error: ${m.text()}`);
  });
  page.on('pageerror', e => problems.push(`page error: ${e.message}`));
  page.on('requestfailed', r => problems.push(`request failed: ${r.url()}`));
  page.on('response', r => {
    if (r.status() >= 400) problems.push(`HTTP ${r.status()}: ${r.url()}`);
  });
  return problems;
}

// The game's state as the page's probe gives it, and a wait for a state
// (of `page`, or of another tab given last).
export function prober(page, report) {
  const probe = (pg = page) => pg.evaluate(() => JSON.parse(Module.ccall('thalomir_web_probe', 'string', [], [])));
  const waitFor = async (what, test, ms = 20000, pg = page) => {
    const end = Date.now() + ms;
    let p;
    while (Date.now() < end) {
      p = await probe(pg);
      if (test(p)) return p;
      await sleep(50);
    }
    report.check(false, `${what} (last state: ${JSON.stringify({...p, units: p && p.units && p.units.length})})`);
    throw new Error('stopped');
  };
  return {probe, waitFor};
}

// The acting unit `me`'s step to the free neighbour cell nearest an enemy, as
// [x, y], or null when it is boxed in: a click on a cell another unit holds
// does nothing.
export function stepTowardFoes(p, me) {
  const held = (x, y) => p.units.some(u => x >= u.x && x < u.x + u.size && y >= u.y && y < u.y + u.size);
  const foes = p.units.filter(u => !u.player);
  const toFoe = (x, y) => Math.min(...foes.map(f => Math.hypot(f.x - x, f.y - y)));
  const steps = [];
  for (const dx of [-1, 0, 1])
    for (const dy of [-1, 0, 1]) {
      const x = me.x + dx, y = me.y + dy;
      if (x >= 1 && x <= 14 && y >= 1 && y <= 9 && !held(x, y)) steps.push([x, y]);
    }
  steps.sort((a, b) => toFoe(...a) - toFoe(...b));
  return steps.length ? steps[0] : null;
}
