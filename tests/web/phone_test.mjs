// The web build on an emulated phone held sideways (touch, 851x393 CSS
// pixels): the page fits without bars on the game, a tap shows and a second
// tap acts on the board (a move and an attack in level 1), Pass and Menu
// beside the board act on one tap, the page plays offline after its first
// visit, and progress leaves as a file and comes back. Exits non-zero on any
// failure.
//
//   node phone_test.mjs --site build-web/site --out DIR
import fs from 'node:fs';
import path from 'node:path';
import {KnownDevices} from 'puppeteer-core';
import {GS, Report, launch, parseArgs, prober, serve, sleep, stepTowardFoes, watchProblems} from './harness.mjs';

const args = parseArgs(['site', 'out'], 'node phone_test.mjs --site DIR --out DIR');
const rep = new Report();
const check = (ok, what) => rep.check(ok, what);
const {server, url} = await serve(args.site);
const {browser, close} = await launch();
await rep.run(args.out, async () => {
  const page = await browser.newPage();
  await page.emulate(KnownDevices['Pixel 5 landscape']);
  const problems = watchProblems(page);
  const {probe, waitFor} = prober(page, rep);
  const shot = name => page.screenshot({path: path.join(args.out, `phone-${name}.png`)});
  const loadPage = async () => {
    await page.goto(url, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => window.thalomirFirstFrameAt, {timeout: 60000});
  };
  // The game's 1024x768 frame letterboxed into the window: a game point in CSS pixels.
  const frame = () => page.evaluate(() => {
    const s = Math.min(innerWidth / 1024, innerHeight / 768);
    return {s, x: (innerWidth - 1024 * s) / 2, y: (innerHeight - 768 * s) / 2, w: 1024 * s, h: 768 * s};
  });
  const tap = async (gx, gy) => {
    const f = await frame();
    await page.touchscreen.tap(f.x + gx * f.s, f.y + gy * f.s);
    await sleep(250);
  };

  await loadPage();
  await sleep(2500);  // the logo takes no input
  // --- the page fits the phone -------------------------------------------------
  const f = await frame();
  const tools = await page.evaluate(() => {
    const r = document.getElementById('tools').getBoundingClientRect();
    return {left: r.left, right: r.right, top: r.top, bottom: r.bottom, shown: r.width > 0};
  });
  check(tools.shown && (tools.left >= f.x + f.w || tools.right <= f.x),
        `the page's buttons stand beside the game's frame, not on it (${JSON.stringify(tools)})`);
  const fit = await page.evaluate(() => {
    const style = getComputedStyle(document.body);
    return {scroll: document.documentElement.scrollHeight <= innerHeight && document.documentElement.scrollWidth <= innerWidth,
            touchAction: getComputedStyle(document.getElementById('canvas')).touchAction,
            select: style.userSelect || style.webkitUserSelect,
            turn: getComputedStyle(document.getElementById('turn')).display};
  });
  check(fit.scroll && fit.touchAction === 'none' && fit.select === 'none' && fit.turn === 'none',
        `no scrolling, zooming or selection, no turn notice in landscape (${JSON.stringify(fit)})`);
  await page.emulate(KnownDevices['Pixel 5']);
  const upright = await page.evaluate(() => getComputedStyle(document.getElementById('turn')).display);
  check(upright !== 'none', 'held upright, the page asks to turn the phone');
  await shot('1-upright');
  await page.emulate(KnownDevices['Pixel 5 landscape']);
  await sleep(300);
  await shot('2-menu');

  // --- the fastest battle pace by a tap on the slider's end, then Start, level 1,
  // --- tap-tap a move and an attack ------------------------------------------------
  await tap(512, 571);
  await waitFor('a tap on Options opens the options', s => s.state === GS.OPTIONS);
  await tap(678 + 159, 519);
  await tap(512, 618);
  await waitFor('a tap on back returns to the menu', s => s.state === GS.MMENU);
  await tap(512, 521);
  await waitFor('a tap on Start opens the level choice', s => s.state === GS.CHLVL);
  await tap(155, 101);
  await waitFor('a tap on level 1 starts it', s => s.state === GS.GAME && s.units.length > 0);
  await tap(512, 700); // past the briefing
  await sleep(150);
  const key = s => JSON.stringify(s.units.map(u => [u.x, u.y, u.hp]));
  const enemiesHp = s => s.units.filter(u => !u.player).reduce((a, u) => a + u.hp, 0);
  let moved = false, attacked = false, shownOnly = true;
  const end = Date.now() + 180000;
  while (!(moved && attacked) && Date.now() < end) {
    const p = await probe();
    if (p.state !== GS.GAME) break;
    const me = p.units.find(u => u.acting);
    if (!me || !me.player || p.locks > 0 || me.ap < 1) {
      await sleep(100);
      continue;
    }
    const target = p.units.find(u => !u.player && u.inrange);
    let cell;
    if (target) {
      cell = [target.x + (target.size - 1) / 2, target.y + (target.size - 1) / 2];
    } else {
      cell = stepTowardFoes(p, me);
      if (!cell) {
        await sleep(100);
        continue;
      }
    }
    const before = key(p);
    await tap(cell[0] * 64 + 32, cell[1] * 64 + 32);
    await sleep(300);
    shownOnly = shownOnly && key(await probe()) === before && (await probe()).units.find(u => u.acting).ap === 1;
    if (!moved && !target) await shot('3-move-shown');
    if (!attacked && target) await shot('4-attack-shown');
    await tap(cell[0] * 64 + 32, cell[1] * 64 + 32);
    await waitFor('the second tap acts', s => s.state !== GS.GAME || key(s) !== before ||
      !s.units.find(u => u.acting && u.player && u.ap > 0), 30000);
    if (target) {
      await waitFor('the attack damages the enemy', s => s.state !== GS.GAME || enemiesHp(s) < enemiesHp(p), 30000);
      attacked = true;
    } else {
      moved = true;
    }
  }
  check(shownOnly, 'a first tap on the board only shows what it would do');
  check(moved && attacked, `tap-tap moved (${moved}) and attacked (${attacked}) in level 1`);
  await shot('5-battle');

  // --- Pass and Menu beside the board: a finger's Space and Escape -----------------
  const mayAct = s => s.state !== GS.GAME || (s.locks === 0 && s.units.some(u => u.acting && u.player && u.ap > 0));
  const acting = s => s.units.findIndex(u => u.acting);
  let turnOf = await waitFor('the player may act again', mayAct, 60000);
  check(turnOf.state === GS.GAME, 'the battle goes on for its buttons');
  await tap(968, 700);
  await waitFor('a tap on Pass passes the unit\'s action',
    s => s.state !== GS.GAME || s.turn !== turnOf.turn || acting(s) !== acting(turnOf));
  turnOf = await waitFor('the player may act again', mayAct, 60000);
  await tap(988, 32);
  await waitFor('a tap on Menu opens the options', s => s.state === GS.OPTIONS);
  await tap(512, 618);
  await waitFor('a tap on back returns to the battle', s => s.state === GS.GAME);
  check(true, 'a tap on Pass passes, a tap on Menu opens the options and back leads into the battle');
  await shot('5b-battle');

  // --- offline after the first visit ----------------------------------------------
  const cached = await page.evaluate(async () => {
    const reg = await navigator.serviceWorker.ready;
    for (let i = 0; i < 100 && !navigator.serviceWorker.controller; i++)
      await new Promise(r => setTimeout(r, 100));
    const keys = await caches.keys();
    return {active: !!reg.active, keys};
  });
  check(cached.active && cached.keys.some(k => k.startsWith('thalomir-')),
        `the service worker keeps the page (${JSON.stringify(cached)})`);
  await page.setOfflineMode(true);
  const offlineProblems = problems.length;
  await loadPage();
  await waitFor('offline, the reloaded page shows the menu', s => s.state === GS.MMENU, 30000);
  check(true, 'offline, the reloaded page shows the menu');
  await shot('6-offline');
  await page.setOfflineMode(false);
  problems.length = offlineProblems;

  // --- progress out as a file and back ----------------------------------------------
  const downloads = fs.mkdtempSync(path.join(args.out, 'downloads-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});
  await page.click('#export');
  const file = path.join(downloads, 'thalomir-progress.txt');
  for (let i = 0; i < 50 && !fs.existsSync(file); i++) await sleep(100);
  const exported = fs.existsSync(file) ? fs.readFileSync(file, 'utf8') : '';
  check(/\[progress\]/.test(exported), `Export progress downloads the progress file (${JSON.stringify(exported)})`);
  const importFile = async (name, text) => {
    const p = path.join(downloads, name);
    fs.writeFileSync(p, text);
    const input = await page.$('#importfile');
    await input.uploadFile(p);
    await sleep(500);
    return page.evaluate(() => document.getElementById('note').textContent);
  };
  // Levels 1 and 2 won, in the file's current form: level 3 opens.
  let said = await importFile('more.txt', exported.trimEnd() + '\n[level lvl1.txt]\nwon=1\n[level lvl2.txt]\nwon=1\n');
  let p = await probe();
  check(p.maxlvl === 3, `Import progress reads a progress file back (${said}; maxlvl ${p.maxlvl})`);
  said = await importFile('broken.txt', '[progress]\nmaxlvl=12\n');
  p = await probe();
  check(p.maxlvl === 3 && /unchanged/.test(said), `a file that is not progress changes nothing (${said})`);
  await importFile('back.txt', exported);
  fs.rmSync(downloads, {recursive: true, force: true});

  rep.checkProblems(problems);
}, async () => {
  await close();
  server.close();
});
