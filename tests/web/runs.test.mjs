// What a run plays, chosen beside the game: a circuit that comes with the game picked before
// OK, a circuit uploaded through "Charger un circuit" (and the game's own message for an upload
// it cannot play), a demo recorded in the page, downloaded, replayed by the native velko-sim to
// the same crash, and dropped back onto the page to be watched (over the dialog, over a drive),
// and a damaged demo refused with the game's message.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import {
  carNow, clickDialog, dialogPoints, dialogShown, hold, nativeBuild, openPage, pressAll,
  screenFrames, shots, site, startBrowser,
} from './page_support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session?.stop(); });

// The dialog of a first visit from the keyboard: "Mode fenêtré" ticked, then OK.
const windowedKeys = ['Tab', 'Tab', 'Space', 'Tab', 'Tab', 'Tab', 'Space'];

async function newPage(problems) {
  const context = await session.browser.newContext({ viewport: { width: 1000, height: 700 },
    acceptDownloads: true });
  const page = await openPage(context, problems);
  await page.goto(session.base);
  await dialogShown(page);
  return { context, page };
}

// OK in the dialog (from the keyboard on a first visit, which also ticks "Mode fenêtré"; by
// the mouse after it), then the game's first frames.
async function pressOk(page, firstVisit) {
  const frames = await screenFrames(page);
  await page.focus('#velko-canvas');
  if (firstVisit) await pressAll(page, windowedKeys);
  else await clickDialog(page, dialogPoints.ok);
  await page.waitForFunction((n) => window.velkoSeen.screenFrames.length > n + 30, frames,
    { timeout: 30000 });
}

async function quit(page) {
  await hold(page, 'Escape', 200);
  await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
}

async function replay(page) {
  const dialogs = await page.evaluate(() => window.velkoSeen.dialogCount);
  await page.getByRole('button', { name: 'Rejouer' }).click();
  await dialogShown(page, dialogs + 1);
}

// The canvas now, kept in the page under `name`.
async function keepView(page, name) {
  await page.evaluate((key) => {
    const canvas = document.getElementById('velko-canvas');
    window.velkoViews = window.velkoViews || {};
    window.velkoViews[key] = canvas.getContext('2d').getImageData(0, 0, 800, 600).data;
  }, name);
}

// The share of the pixels in which two kept views differ.
async function viewsDiffer(page, a, b) {
  return page.evaluate(([x, y]) => {
    const one = window.velkoViews[x], two = window.velkoViews[y];
    let differ = 0;
    for (let at = 0; at < one.length; at += 4) {
      if (one[at] !== two[at] || one[at + 1] !== two[at + 1] || one[at + 2] !== two[at + 2]) {
        ++differ;
      }
    }
    return differ / (one.length / 4);
  }, [a, b]);
}

// Files dropped onto the page, as a browser hands them over.
async function dropFiles(page, files) {
  const items = files.map(({ name, bytes }) => ({ name, data: bytes.toString('base64') }));
  await page.evaluate((list) => {
    const transfer = new DataTransfer();
    for (const { name, data } of list) {
      transfer.items.add(new File([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], name));
    }
    const target = document.getElementById('velko-stage');
    for (const type of ['dragenter', 'dragover', 'drop']) {
      target.dispatchEvent(new DragEvent(type, { bubbles: true, cancelable: true,
        dataTransfer: transfer }));
    }
  }, items);
}

const circuitFile = (circuit, name) => join(nativeBuild, 'levels', circuit, name);
const fileBytes = (name, buffer) => ({ name, mimeType: 'application/octet-stream', buffer });
const sounds = (page) => page.evaluate(() => window.velkoSeen.sounds.length);

test('circuits: one that comes with the game chosen before OK, then one uploaded', async () => {
  const problems = [];
  const { context, page } = await newPage(problems);
  const offered = await page.locator('#velko-circuit option').evaluateAll(
    (options) => options.map((o) => o.value));
  assert.deepEqual(offered, ['', 'rapide', 'ville']);

  await pressOk(page, true);
  await keepView(page, 'game');
  await quit(page);

  // Each circuit chosen before OK, and the circuit's own files uploaded: the upload is played
  // as the circuit itself is.
  const runs = [
    { view: 'ville', choose: 'ville' },
    { view: 'rapide', choose: 'rapide' },
    { view: 'uploaded', upload: ['level.map', 'level.bpb'].map((f) => circuitFile('rapide', f)) },
  ];
  for (const run of runs) {
    await replay(page);
    if (run.choose) await page.selectOption('#velko-circuit', run.choose);
    if (run.upload) {
      await page.setInputFiles('#velko-upload', run.upload);
      await page.waitForFunction(
        () => document.getElementById('velko-circuit').value === '/velko/upload');
    }
    await pressOk(page, false);
    await keepView(page, run.view);
    assert.equal(await page.locator('#velko-circuit').isDisabled(), true,
      'no choice while driving');
    if (run.choose === 'ville') {
      await page.screenshot({ path: join(shots, 'circuit-ville.png') });
      const start = await carNow(page);
      await hold(page, 'ArrowUp', 400);
      const moved = await carNow(page);
      assert.ok(moved.y < start.y - 5, `the car went from ${start.y} to ${moved.y}`);
    }
    await quit(page);
  }
  const differences = {
    gameVille: await viewsDiffer(page, 'game', 'ville'),
    gameRapide: await viewsDiffer(page, 'game', 'rapide'),
    rapideUploaded: await viewsDiffer(page, 'rapide', 'uploaded'),
  };
  console.log('figures: share of the first view\'s pixels that differ: ' +
    JSON.stringify(differences));
  assert.ok(differences.gameVille > 0.05, 'ville shows another circuit than the game\'s');
  assert.ok(differences.gameRapide > 0.05, 'rapide shows another circuit than the game\'s');
  // The status line (the frame rate) may differ, nothing else.
  assert.ok(differences.rapideUploaded < 0.01, 'the uploaded files play as rapide');

  // An upload the game cannot play: the game's own message, then the end.
  const refusals = [
    { files: [circuitFile('rapide', 'level.map')],
      message: 'Fichier introuvable ou vide : /velko/upload/level.bpb' },
    { files: [fileBytes('level.map', Buffer.alloc(0)),
      fileBytes('level.bpb', readFileSync(circuitFile('rapide', 'level.bpb')))],
    message: 'Fichier introuvable ou vide : /velko/upload/level.map' },
  ];
  for (const refusal of refusals) {
    await replay(page);
    await page.setInputFiles('#velko-upload', refusal.files);
    await page.waitForFunction(
      () => document.getElementById('velko-circuit').value === '/velko/upload');
    await page.focus('#velko-canvas');
    await clickDialog(page, dialogPoints.ok);
    await page.locator('#velko-message').waitFor({ state: 'visible', timeout: 15000 });
    assert.equal(await page.locator('#velko-message-title').textContent(), 'Erreur');
    assert.equal(await page.locator('#velko-message-text').textContent(), refusal.message);
    await page.getByRole('button', { name: 'OK' }).click();
    await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
  }
  await context.close();
  assert.deepEqual(problems, []);
});

test('demos: recorded in the page, replayed natively, dropped back to be watched', async () => {
  const problems = [];
  const { context, page } = await newPage(problems);
  await page.check('#velko-record');
  await pressOk(page, true);
  // Up into the barrier until the crash sound, a little more, then Escape.
  await page.keyboard.down('ArrowUp');
  await page.waitForFunction(() => window.velkoSeen.sounds.length > 0, null, { timeout: 10000 });
  await page.waitForTimeout(300);
  await page.keyboard.up('ArrowUp');
  await quit(page);
  const crashes = await sounds(page);

  const download = page.waitForEvent('download', { timeout: 15000 });
  await page.getByRole('link', { name: /demo000\.vdm/ }).click();
  const file = await download;
  assert.equal(file.suggestedFilename(), 'demo000.vdm');
  const demoPath = await file.path();
  const demo = readFileSync(demoPath);
  assert.equal(demo.toString('latin1', 0, 8), 'VELKODEM');
  // Kept for the replays on the other builds (tests/sim/cross_build_replays.sh).
  const kept = process.env.VELKO_WEB_DEMOS ?? join(site, 'wasm', 'e2e-demos');
  mkdirSync(kept, { recursive: true });
  copyFileSync(demoPath, join(kept, 'web.vdm'));

  // The native build plays it to the same crashes: the page's data files are its own.
  const sim = spawnSync(join(nativeBuild, 'velko-sim'),
    [nativeBuild, '--demo', demoPath, '--trace', '-'], { encoding: 'utf8' });
  assert.equal(sim.status, 0, sim.stderr);
  const trace = sim.stdout.trim().split('\n').map((line) => line.split(','));
  const column = (name) => Number(trace.at(-1)[trace[0].indexOf(name)]);
  assert.ok(column('crashCount') > 0, `crashCount ${column('crashCount')}`);
  assert.equal(column('sounds'), crashes, 'the crash sounds of the replay');
  console.log(`figures: the page's demo of ${demo.length} bytes replays natively in ` +
    `${trace.length - 1} frames, ${column('crashCount')} crashes`);

  // Dropped while the dialog waits, then while driving: that run ends, and the demo plays to
  // its end with its crash sounds, with no key pressed.
  for (const over of ['dialog', 'drive']) {
    await replay(page);
    if (over === 'drive') await pressOk(page, false);
    const before = await sounds(page);
    const frames = await screenFrames(page);
    await dropFiles(page, [{ name: 'demo000.vdm', bytes: demo }]);
    await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 30000 });
    assert.equal(await sounds(page) - before, crashes, `crash sounds of the demo over the ${over}`);
    assert.ok(await screenFrames(page) - frames > 60, `the demo was shown over the ${over}`);
    assert.equal(await page.locator('#velko-demo').isVisible(), false, 'watching records no demo');
  }

  // A damaged demo: the game's message names it and says why.
  const damaged = Buffer.from(demo);
  damaged[20] ^= 0xff;
  await replay(page);
  await dropFiles(page, [{ name: 'damaged.vdm', bytes: damaged }]);
  await page.locator('#velko-message').waitFor({ state: 'visible', timeout: 15000 });
  assert.equal(await page.locator('#velko-message-title').textContent(), 'Erreur');
  const text = await page.locator('#velko-message-text').textContent();
  assert.match(text, /^D\u00e9mo \/velko\/demos\/damaged\.vdm : ./);
  await page.screenshot({ path: join(shots, 'demo-refused.png') });
  await page.getByRole('button', { name: 'OK' }).click();
  await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
  await context.close();
  assert.deepEqual(problems, []);
});
