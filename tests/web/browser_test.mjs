// Plays the web build in headless Chromium (software WebGL 2) and checks it:
// a clean load, the first frame in time, the main menu as the desktop game
// draws it, options, a battle with a move and an attack, the music setting
// kept across a reload and the battle continued after it, and a second tab
// that saves nothing. Exits non-zero
// on any failure.
//
//   node browser_test.mjs --site build-web/site --reference REF.png --out DIR
//
// REF.png is the desktop game's main menu at frame SHOT_FRAME (mainmenu.replay).
import fs from 'node:fs';
import path from 'node:path';
import {GS, Report, launch, parseArgs, prober, serve, sleep, stepTowardFoes, watchProblems} from './harness.mjs';

const SHOT_FRAME = 150;
// The two GL paths (Mesa llvmpipe on the desktop, ANGLE on SwiftShader here)
// sample textures with different sub-texel precision: where the rippling menu
// background and scaled sprites have hard edges, single pixels differ by up
// to a tenth of the range; everywhere else they agree within a step or two.
// A pixel matches when no channel differs by more than CHANNEL_TOLERANCE; at
// most MAX_OFF_SHARE of them may not, and none by more than MAX_CHANNEL_DIFF.
// A wrong frame (other time, shifted, swapped colours) fails all three.
const CHANNEL_TOLERANCE = 8;
const MAX_OFF_SHARE = 0.015;
const MAX_CHANNEL_DIFF = 64;
const FIRST_FRAME_LIMIT_MS = Number(process.env.THALOMIR_FIRST_FRAME_LIMIT_MS || 5000);

const args = parseArgs(['site', 'reference', 'out'],
                       'node browser_test.mjs --site DIR --reference PNG --out DIR');
const rep = new Report();
const report = rep.data;
const check = (ok, what) => rep.check(ok, what);

const {server, url} = await serve(args.site, {'/__reference.png': path.resolve(args.reference)});
const {browser, close} = await launch();
await rep.run(args.out, async () => {
  const page = await browser.newPage();
  await page.setViewport({width: 1024, height: 768});
  const problems = watchProblems(page);
  const {probe, waitFor} = prober(page, rep);
  // Held long enough for the game to see the button down in one frame and
  // up in a later one, whatever the frame rate.
  const click = async (x, y, pg = page) => {
    await pg.mouse.move(x, y);
    await sleep(120);
    await pg.mouse.down();
    await sleep(150);
    await pg.mouse.up();
    await sleep(150);
  };
  const drag = async (x1, y, x2, pg = page) => {
    await pg.mouse.move(x1, y);
    await sleep(120);
    await pg.mouse.down();
    await sleep(150);
    for (let i = 1; i <= 8; i++) {
      await pg.mouse.move(x1 + (x2 - x1) * i / 8, y);
      await sleep(60);
    }
    await pg.mouse.up();
    await sleep(150);
  };
  const shot = name => page.screenshot({path: path.join(args.out, `${name}.png`)});
  const loadPage = async () => {
    await page.goto(`${url}?fixedstep`, {waitUntil: 'domcontentloaded'});
    await page.waitForFunction(() => window.thalomirFirstFrameAt, {timeout: 60000});
    return page.evaluate(() => window.thalomirFirstFrameAt);
  };

  // --- load, first frame, main menu against the desktop game -----------------
  await page.evaluateOnNewDocument(frame => {
    // Takes the game's own frame at a fixed frame number, as the replay tool does.
    window.addEventListener('DOMContentLoaded', () => {
      const shown = Module.thalomirFrame;
      Module.thalomirFrame = (n, work) => {
        shown(n, work);
        if (n === frame) Module.ccall('tideWebSnapshot', 'number', ['string'], ['/tmp/mainmenu.png']);
      };
    });
  }, SHOT_FRAME);
  const firstFrame = await loadPage();
  report.firstFrameMs = Math.round(firstFrame);
  check(firstFrame <= FIRST_FRAME_LIMIT_MS,
        `first frame after ${report.firstFrameMs} ms (limit ${FIRST_FRAME_LIMIT_MS} ms)`);
  await page.mouse.move(700, 300);
  await page.waitForFunction(f => window.thalomirStats.frames > f, {timeout: 120000}, SHOT_FRAME);
  const png = Buffer.from(await page.evaluate(() => Array.from(Module.FS.readFile('/tmp/mainmenu.png'))));
  fs.writeFileSync(path.join(args.out, 'mainmenu-web.png'), png);
  fs.copyFileSync(args.reference, path.join(args.out, 'mainmenu-desktop.png'));
  const cmp = await page.evaluate(async (bytes, tolerance) => {
    const pixels = async blob => {
      const bmp = await createImageBitmap(blob, {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
      const c = new OffscreenCanvas(bmp.width, bmp.height);
      const g = c.getContext('2d', {willReadFrequently: true});
      g.drawImage(bmp, 0, 0);
      return g.getImageData(0, 0, bmp.width, bmp.height);
    };
    const web = await pixels(new Blob([new Uint8Array(bytes)], {type: 'image/png'}));
    const desk = await pixels(await (await fetch('/__reference.png')).blob());
    if (web.width !== desk.width || web.height !== desk.height)
      return {size: `${web.width}x${web.height} vs ${desk.width}x${desk.height}`};
    // The differences for a reader: pixels off in red over a dimmed frame.
    const diff = new ImageData(web.width, web.height);
    let off = 0, worst = 0;
    for (let i = 0; i < web.data.length; i += 4) {
      let d = 0;
      for (let k = 0; k < 3; k++) d = Math.max(d, Math.abs(web.data[i + k] - desk.data[i + k]));
      worst = Math.max(worst, d);
      if (d > tolerance) off++;
      const dim = (web.data[i] + web.data[i + 1] + web.data[i + 2]) / 12;
      diff.data.set(d > tolerance ? [255, 0, 0, 255] : [dim, dim, dim, 255], i);
    }
    const c = new OffscreenCanvas(web.width, web.height);
    c.getContext('2d').putImageData(diff, 0, 0);
    const diffPng = Array.from(new Uint8Array(await (await c.convertToBlob()).arrayBuffer()));
    return {off, worst, share: off / (web.width * web.height), diffPng};
  }, Array.from(png), CHANNEL_TOLERANCE);
  if (cmp.diffPng) fs.writeFileSync(path.join(args.out, 'mainmenu-diff.png'), Buffer.from(cmp.diffPng));
  delete cmp.diffPng;
  report.mainMenu = cmp;
  check(!cmp.size && cmp.share <= MAX_OFF_SHARE && cmp.worst <= MAX_CHANNEL_DIFF,
        `main menu matches the desktop frame ${SHOT_FRAME}: ${JSON.stringify(cmp)}`);
  await shot('1-mainmenu');
  // From here on the game runs on the real clock.
  await page.evaluate(() => { Module.thalomirFixedStep = false; });

  // --- options: music to 0, battle pace up, back ---------------------------------
  await click(512, 571);
  let p = await waitFor('Options opens the options screen', s => s.state === GS.OPTIONS);
  const musicX = 428 + 10 + p.music * 140 / 100;
  await drag(musicX, 519, 380);
  p = await waitFor('dragging the music slider to the left end sets it to 0', s => s.music === 0);
  await drag(678 + 80, 519, 900); // the fastest battle pace keeps the test short
  await shot('2-options');
  await click(512, 618);
  await waitFor('Back returns to the main menu', s => s.state === GS.MMENU);

  // --- level 1: a move and an attack -----------------------------------------------
  await click(512, 521);
  await waitFor('Start opens the level choice', s => s.state === GS.CHLVL);
  await click(155, 101);
  p = await waitFor('level 1 starts a battle', s => s.state === GS.GAME && s.units.length > 0);
  await page.keyboard.press('Enter'); // past the briefing
  await sleep(150);
  const enemiesHp = s => s.units.filter(u => !u.player).reduce((a, u) => a + u.hp, 0);
  const startHp = enemiesHp(p);
  let moves = 0, attacks = 0, frameSample = null;
  const battleEnd = Date.now() + 150000;
  while ((moves < 1 || attacks < 1) && Date.now() < battleEnd) {
    p = await probe();
    if (p.state !== GS.GAME) break;
    const me = p.units.find(u => u.acting);
    if (!me || !me.player || p.locks > 0 || me.ap < 1) {
      await sleep(100);
      continue;
    }
    const cell = (x, y) => [x * 64 + 32, y * 64 + 32];
    const target = p.units.find(u => !u.player && u.inrange);
    const turnBefore = JSON.stringify(p.units.map(u => [u.x, u.y, u.hp, u.acting]));
    if (target) {
      await click(...cell(target.x + (target.size - 1) * 0.5, target.y + (target.size - 1) * 0.5));
      attacks++;
    } else {
      const step = stepTowardFoes(p, me);
      if (!step) {
        await sleep(100);
        continue;
      }
      await click(...cell(...step));
      moves++;
      if (moves === 1) await shot('3-battle-move');
    }
    await waitFor('the battle answers a click', s => s.state !== GS.GAME ||
      JSON.stringify(s.units.map(u => [u.x, u.y, u.hp, u.acting])) !== turnBefore, 30000);
    if (!frameSample) {
      // The battle's frame rate and the time each frame takes the game.
      frameSample = await page.evaluate(() => new Promise(res => {
        const f0 = window.thalomirStats.frames, t0 = performance.now();
        let work = 0, n = 0;
        const shown = Module.thalomirFrame;
        Module.thalomirFrame = (f, w) => { shown(f, w); work += w; n++; };
        setTimeout(() => {
          Module.thalomirFrame = shown;
          const frames = window.thalomirStats.frames - f0;
          res({frameMs: (performance.now() - t0) / frames, workMs: work / Math.max(n, 1)});
        }, 3000);
      }));
    }
  }
  report.battle = {moves, attacks, ...frameSample};
  check(moves >= 1 && attacks >= 1, `a move and an attack in level 1 (${moves} moves, ${attacks} attacks)`);
  await waitFor('the attack damages an enemy', s => s.state !== GS.GAME || enemiesHp(s) < startHp, 30000);
  await shot('4-battle');

  // --- Escape to the options, back to the battle ------------------------------------
  p = await probe();
  if (p.state === GS.GAME) {
    await page.keyboard.down('Escape');
    await sleep(150);
    await page.keyboard.up('Escape');
    await waitFor('Escape opens the options', s => s.state === GS.OPTIONS);
    await click(512, 618);
    await waitFor('Back returns to the battle', s => s.state === GS.GAME);
  }

  // --- the music setting survives a reload, and Continue resumes the battle -----------
  const inBattle = (await probe()).state === GS.GAME;
  await sleep(1000); // the save's sync to IndexedDB
  await loadPage();
  p = await waitFor('the music setting is kept after a reload', s => s.music === 0, 5000);
  await shot('5-reloaded');
  if (inBattle) {
    await page.waitForFunction(f => window.thalomirStats.frames > f, {timeout: 120000}, SHOT_FRAME);
    await page.evaluate(() => { Module.thalomirFixedStep = false; });
    await click(512, 471);
    await waitFor('Continue resumes the battle left by the reload, its damage kept',
                  s => s.state === GS.GAME && s.units.length > 0 && enemiesHp(s) < startHp);
    await shot('5-continued');
  }

  // --- a second tab: it says the game is open elsewhere, and saves nothing ------------
  const noticeShown = pg => pg.evaluate(() => !document.getElementById('elsewhere').classList.contains('hidden'));
  const second = await browser.newPage();
  await second.setViewport({width: 1024, height: 768});
  second.on('pageerror', e => problems.push(`second tab: page error: ${e.message}`));
  await second.goto(`${url}?fixedstep`, {waitUntil: 'domcontentloaded'});
  await second.waitForFunction(() => window.thalomirFirstFrameAt, {timeout: 60000});
  check(await noticeShown(second), 'a second tab says the game is open in another tab');
  check(!(await noticeShown(page)), 'the first tab says nothing of the kind');
  await second.bringToFront();
  await second.mouse.move(700, 300);
  // Past the logo, as in the first tab.
  await second.waitForFunction(f => window.thalomirStats.frames > f, {timeout: 120000}, SHOT_FRAME);
  await second.evaluate(() => { Module.thalomirFixedStep = false; });
  await waitFor('the second tab plays on the saved music setting', s => s.music === 0, 20000, second);
  await click(512, 571, second);
  await waitFor('the second tab opens its options', s => s.state === GS.OPTIONS, 20000, second);
  await drag(428 + 10, 519, 600, second);
  await waitFor('the second tab moves its music slider', s => s.music > 0, 20000, second);
  await click(512, 618, second);
  await waitFor('the second tab leaves its options', s => s.state === GS.MMENU, 20000, second);
  const secondFiles = await second.evaluate(() => {
    const read = f => { try { return Module.FS.readFile(f, {encoding: 'utf8'}); } catch (e) { return ''; } };
    return {config: read('/home/web_user/.config/thalomir/config.txt'),
            log: read('/home/web_user/.local/state/thalomir/log.txt')};
  });
  check(/music=0\b/.test(secondFiles.config), 'the second tab writes no settings, not even its own copy');
  check(/open in another tab/.test(secondFiles.log) && /Can't save the settings/.test(secondFiles.log),
        'the second tab logs why it saves nothing');
  await second.screenshot({path: path.join(args.out, '6-second-tab.png')});
  await second.close();
  await page.bringToFront();
  await sleep(1000);
  await loadPage();
  await waitFor('the first tab keeps its settings after the second one', s => s.music === 0, 5000);
  check(!(await noticeShown(page)), 'a reloaded first tab owns the files again');

  rep.checkProblems(problems);
}, async () => {
  await close();
  server.close();
});
