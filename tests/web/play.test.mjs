// The web page played end to end in Debian's Chromium, as a player would: the dialog answered
// from the keyboard (and the mouse), a drive into a wall with its crash sound, F12 and its download, Escape,
// "Rejouer", and a reload that finds the dialog as it was left. A second visit without Web
// Audio gets the game's no-sound message, then plays silent in full screen.
// The page is watched from outside only: its canvas uploads, the sounds it starts, the files it
// offers, its errors. Figures (frame rate and intervals, page weight) are printed; the weight
// is held under 1 MB.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../../tools/web/serve.mjs';
import {
  browserFlags, browserPath, clickDialog, describeFrames, dialogPoints, dialogShown, dialogSize,
  frameFigures, gameRunning, hold, openPage as openWatchedPage, pressAll, screenFrames, shots,
  site,
} from './page_support.mjs';

const settingsAfterFirstVisit =
  '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n';

let server;
let base;
let profile;
let context;
const problems = [];  // page errors and console errors, from every page
const loaded = new Map();  // url -> bytes, everything the page and its service worker fetched

before(async () => {
  server = await serve(site, 0);
  base = `http://127.0.0.1:${server.address().port}/`;
  profile = mkdtempSync(join(tmpdir(), 'velko-chromium-'));
  context = await chromium.launchPersistentContext(profile, {
    executablePath: browserPath,
    headless: true,
    args: browserFlags,
    viewport: { width: 1000, height: 700 },
    acceptDownloads: true,
  });
  context.on('response', async (response) => {
    try {
      const bytes = (await response.body()).length;
      if (response.url().startsWith(base)) {
        loaded.set(response.url(), Math.max(bytes, loaded.get(response.url()) ?? 0));
      }
    } catch {
      // redirects and aborted loads have no body
    }
  });
});

after(async () => {
  await context?.close();
  server?.close();
  if (profile) rmSync(profile, { recursive: true, force: true });
});

function openPage(initScript) {
  return openWatchedPage(context, problems, initScript);
}

// The pixels of a dialog region, as a string to compare.
function region(pixels, x, y, width, height) {
  const rows = [];
  for (let row = y; row < y + height; ++row) {
    const at = (row * dialogSize.width + x) * 4;
    rows.push(pixels.slice(at, at + width * 4).join(','));
  }
  return rows.join(';');
}

// Parts of the dialog that show a setting (client coordinates of the gadgets).
const settingRegions = {
  mode: [78, 48, 50, 14],          // the drop-down's text: "16 bits" or "32 bits"
  windowed: [80, 82, 16, 16],      // the "Mode fenestré" box
  alternative: [80, 102, 16, 16],  // the "Couleurs alterrées" box
  force75: [80, 122, 16, 16],      // the "Forcer Ecran à 75 Hz" box
};

function settingsShown(pixels) {
  return Object.fromEntries(
    Object.entries(settingRegions).map(([name, r]) => [name, region(pixels, ...r)]));
}

async function keptSettings(page) {
  return page.evaluate(() => new Promise((resolveRead, reject) => {
    const open = indexedDB.open('velko');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const get = open.result.transaction('files').objectStore('files').get('screen.ini');
      get.onsuccess = () => resolveRead(get.result ? new TextDecoder().decode(get.result) : null);
      get.onerror = () => reject(get.error);
    };
  }));
}

test('a game from the dialog to the end, again, and the settings after a reload', async () => {
  const page = await openPage();
  await page.goto(base);
  const freshDialog = settingsShown(await dialogShown(page));
  await page.screenshot({ path: join(shots, '1-dialog.png') });
  // Everything the page loaded for its dialog, and its service worker for the offline copy,
  // is all it ever loads.
  await page.evaluate(() => navigator.serviceWorker.ready);
  const pageFiles = [...loaded.entries()];
  const pageBytes = pageFiles.reduce((sum, [, bytes]) => sum + bytes, 0);
  assert.ok(pageBytes < 1000000, `the page loads ${pageBytes} bytes`);

  // 32 bits, windowed, from the keyboard: Tab to the list, End for its last item, Tab to the
  // windowed box, Space ticks it, Tab past the other two boxes to OK, Space presses it.
  await pressAll(page, ['Tab', 'End', 'Tab', 'Space', 'Tab', 'Tab', 'Tab']);
  const chosenDialog = settingsShown(await page.evaluate(() => window.velkoSeen.dialogs.at(-1)));
  await hold(page, 'Space');
  await gameRunning(page);
  assert.equal(await keptSettings(page), settingsAfterFirstVisit);
  await page.screenshot({ path: join(shots, '2-start.png') });

  // Up the start straight into the barrier at its top: the crash sound starts.
  await page.keyboard.down('ArrowUp');
  const frames = await frameFigures(page, 1600);
  await page.keyboard.up('ArrowUp');
  await page.waitForFunction(() => window.velkoSeen.sounds.length > 0, null, { timeout: 10000 });
  const sound = await page.evaluate(() => window.velkoSeen.sounds[0]);
  assert.equal(sound.channels, 1);
  assert.ok(sound.duration > 0.3 && sound.duration < 0.6, `crash sound of ${sound.duration} s`);
  assert.ok(sound.peak > 0.2, `crash sound peaks at ${sound.peak}`);
  assert.equal(sound.state, 'running', 'the audio context resumed at the first key');
  await page.screenshot({ path: join(shots, '3-crash.png') });

  // F12: the screenshot is offered as a download, the game's own BMP file.
  const download = page.waitForEvent('download', { timeout: 15000 });
  await hold(page, 'F12', 200);
  const file = await download;
  assert.equal(file.suggestedFilename(), 'screen000.bmp');
  const bmp = readFileSync(await file.path());
  assert.equal(bmp.length, 1440054);
  assert.equal(bmp.toString('latin1', 0, 2), 'BM');
  assert.deepEqual([bmp.readInt32LE(18), bmp.readInt32LE(22), bmp.readUInt16LE(28)], [800, 600, 24]);
  // The next one takes the next number.
  const next = page.waitForEvent('download', { timeout: 15000 });
  await hold(page, 'F12', 200);
  assert.equal((await next).suggestedFilename(), 'screen001.bmp');

  // Escape ends the game; the page says so and offers another.
  const framesBefore = await screenFrames(page);
  await hold(page, 'Escape', 200);
  await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
  await page.screenshot({ path: join(shots, '4-end.png') });
  assert.ok(framesBefore > 60);

  // "Rejouer" starts the game again: the dialog comes back, filled in from the settings.
  const dialogsBefore = await page.evaluate(() => window.velkoSeen.dialogCount);
  await page.getByRole('button', { name: 'Rejouer' }).click();
  const replayDialog = settingsShown(await dialogShown(page, dialogsBefore + 1));
  assert.deepEqual(replayDialog, chosenDialog);

  // And so does a new visit.
  await page.reload();
  const reloadedDialog = settingsShown(await dialogShown(page));
  await page.screenshot({ path: join(shots, '5-reloaded-dialog.png') });
  assert.deepEqual(reloadedDialog, chosenDialog);
  assert.notEqual(reloadedDialog.mode, freshDialog.mode);
  assert.notEqual(reloadedDialog.windowed, freshDialog.windowed);
  assert.equal(reloadedDialog.alternative, freshDialog.alternative);
  assert.equal(reloadedDialog.force75, freshDialog.force75);

  console.log(`figures: windowed, driving: ${describeFrames(frames)}`);
  console.log(`figures: the page loads ${pageBytes} bytes ` +
    `(${(pageBytes / 1048576).toFixed(2)} MiB) in ${pageFiles.length} files: ` +
    pageFiles.map(([url, bytes]) => `${url.slice(base.length) || '/'} ${bytes}`).join(', '));
  console.log(`screenshots of the page: ${shots}`);
  await page.close();
  assert.deepEqual(problems, []);
});

test('without Web Audio: the no-sound message, then a silent game in full screen', async () => {
  const page = await openPage(() => {
    delete window.AudioContext;
    delete window.webkitAudioContext;
  });
  await page.goto(base);
  const message = page.locator('#velko-message');
  await message.waitFor({ state: 'visible', timeout: 30000 });
  assert.equal(await page.locator('#velko-message-title').textContent(), 'Erreur');
  assert.equal(await page.locator('#velko-message-text').textContent(),
    'Le programme ne peut pas jouer des sons');
  await page.screenshot({ path: join(shots, '6-no-sound.png') });
  // The game waits on the box: no dialog until OK.
  assert.equal(await page.evaluate(() => window.velkoSeen.dialogCount || 0), 0);
  await page.getByRole('button', { name: 'OK' }).click();
  await dialogShown(page);

  // Full screen in 16 bits: Home picks "16 bits" in the list, then the mouse unticks the
  // windowed box and presses OK.
  await pressAll(page, ['Tab', 'Home']);
  await clickDialog(page, dialogPoints.windowedBox);
  await clickDialog(page, dialogPoints.ok);
  await gameRunning(page);
  await page.keyboard.down('ArrowUp');
  const frames = await frameFigures(page, 1500);
  await page.keyboard.up('ArrowUp');
  const shown = await page.evaluate(() => ({
    fullScreen: document.fullscreenElement?.id ?? null,
    width: document.getElementById('velko-canvas').getBoundingClientRect().width,
    room: document.getElementById('velko-stage').getBoundingClientRect().width,
  }));
  await page.screenshot({ path: join(shots, '7-full-screen.png') });
  // Granted or refused, the full screen fills the room it has, wider than a window's frame.
  assert.ok(shown.width > 800, `canvas ${shown.width} px wide in ${shown.room} px`);
  await hold(page, 'Escape', 200);
  await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
  console.log(`figures: full screen (${shown.fullScreen ? 'granted' : 'refused, page filled'}), ` +
    `driving: ${describeFrames(frames)}`);
  // A loose bound: the page keeps up with the display.
  assert.ok(frames.fps > 40, describeFrames(frames));
  await page.close();
  assert.deepEqual(problems, []);
});
