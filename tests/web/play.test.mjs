// The web page played end to end in Debian's Chromium, as a player would: the dialog answered
// from the keyboard (and the mouse), a drive into a wall with its crash sound, F12 and its download, Escape,
// "Rejouer", and a reload that finds the dialog as it was left. A second visit without Web
// Audio gets the game's no-sound message, then plays silent in full screen.
// The page is watched from outside only: its canvas uploads, the sounds it starts, the files it
// offers, its errors. Figures (frame rate, page weight) are printed, not asserted.
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, rmSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../../tools/web/serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const site = resolve(process.env.VELKO_WEB_SITE ?? join(here, '../../build-web'));
const shots = resolve(process.env.VELKO_WEB_SHOTS ?? join(tmpdir(), 'velko-web-shots'));
const browserPath = process.env.VELKO_CHROMIUM ?? '/usr/bin/chromium';
// Chromium reaches for the network by itself unless told not to; this machine's network
// refuses it.
const browserFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const dialogSize = { width: 300, height: 180 };
const settingsAfterFirstVisit =
  '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n';

// Installed in every page before its own scripts: records what reaches the canvas and the
// sounds started, without touching the game.
function watchPage() {
  const seen = { screenFrames: [], dialogs: [], sounds: [] };
  window.velkoSeen = seen;
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
    if (this.canvas.id === 'velko-canvas') {
      if (image.width === 800 && image.height === 600) seen.screenFrames.push(performance.now());
      if (image.width === 300 && image.height === 180) {
        seen.dialogs.push(Array.from(image.data));
        if (seen.dialogs.length > 4) seen.dialogs.shift();
        seen.dialogCount = (seen.dialogCount || 0) + 1;
      }
    }
    return put.call(this, image, ...rest);
  };
  if (window.AudioBufferSourceNode) {
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
      const buffer = this.buffer;
      const samples = buffer.getChannelData(0);
      let peak = 0;
      for (const s of samples) peak = Math.max(peak, Math.abs(s));
      seen.sounds.push({ duration: buffer.duration, rate: buffer.sampleRate,
        channels: buffer.numberOfChannels, peak, state: this.context.state });
      return start.apply(this, args);
    };
  }
}

let server;
let base;
let profile;
let context;
const problems = [];  // page errors and console errors, from every page

before(async () => {
  server = await serve(site, 0);
  base = `http://127.0.0.1:${server.address().port}/`;
  profile = mkdtempSync(join(tmpdir(), 'velko-chromium-'));
  mkdirSync(shots, { recursive: true });
  context = await chromium.launchPersistentContext(profile, {
    executablePath: browserPath,
    headless: true,
    args: browserFlags,
    viewport: { width: 1000, height: 700 },
    acceptDownloads: true,
  });
  await context.addInitScript(watchPage);
});

after(async () => {
  await context?.close();
  server?.close();
  if (profile) rmSync(profile, { recursive: true, force: true });
});

async function openPage(initScript) {
  const page = await context.newPage();
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
  if (initScript) await page.addInitScript(initScript);
  return page;
}

// Keys are held, not tapped: the game reads a snapshot of the keyboard once a frame.
async function hold(page, key, ms = 120) {
  await page.keyboard.down(key);
  await page.waitForTimeout(ms);
  await page.keyboard.up(key);
  await page.waitForTimeout(60);
}

async function pressAll(page, keys) {
  for (const key of keys) await hold(page, key);
}

// Waits for the n-th presentation of the dialog window and returns its pixels.
async function dialogShown(page, count = 1) {
  await page.waitForFunction((n) => (window.velkoSeen.dialogCount || 0) >= n, count,
    { timeout: 30000 });
  return page.evaluate(() => window.velkoSeen.dialogs.at(-1));
}

// Clicks at a point of the dialog's client area, centred in the canvas's 800 x 600 desktop.
async function clickDialog(page, x, y) {
  const box = await page.locator('#velko-canvas').boundingBox();
  const scale = box.width / 800;
  const left = 400 - dialogSize.width / 2;
  const top = 300 - dialogSize.height / 2;
  await page.mouse.move(box.x + (left + x + 0.5) * scale, box.y + (top + y + 0.5) * scale);
  await page.mouse.down();
  await page.waitForTimeout(80);
  await page.mouse.up();
  await page.waitForTimeout(80);
}

async function screenFrames(page) {
  return page.evaluate(() => window.velkoSeen.screenFrames.length);
}

// Frames presented per second over the next `ms` of play.
async function frameRate(page, ms) {
  const from = await page.evaluate(() => performance.now());
  await page.waitForTimeout(ms);
  return page.evaluate((start) => {
    const times = window.velkoSeen.screenFrames.filter((t) => t >= start);
    return times.length > 1 ? (times.length - 1) * 1000 / (times.at(-1) - times[0]) : 0;
  }, from);
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
  const loaded = [];
  page.on('response', async (response) => {
    try {
      loaded.push({ url: response.url(), bytes: (await response.body()).length });
    } catch {
      // redirects and aborted loads have no body
    }
  });
  await page.goto(base);
  const freshDialog = settingsShown(await dialogShown(page));
  await page.screenshot({ path: join(shots, '1-dialog.png') });
  // Everything the page loaded for its dialog is all it ever loads.
  const pageFiles = loaded.filter((l) => l.url.startsWith(base));
  const pageBytes = pageFiles.reduce((sum, l) => sum + l.bytes, 0);

  // 32 bits, windowed, from the keyboard: Tab to the list, End for its last item, Tab to the
  // windowed box, Space ticks it, Tab past the other two boxes to OK, Space presses it.
  await pressAll(page, ['Tab', 'End', 'Tab', 'Space', 'Tab', 'Tab', 'Tab']);
  const chosenDialog = settingsShown(await page.evaluate(() => window.velkoSeen.dialogs.at(-1)));
  await hold(page, 'Space');
  await page.waitForFunction(() => window.velkoSeen.screenFrames.length > 30, null,
    { timeout: 30000 });
  assert.equal(await keptSettings(page), settingsAfterFirstVisit);
  await page.screenshot({ path: join(shots, '2-start.png') });

  // Up the start straight into the barrier at its top: the crash sound starts.
  await page.keyboard.down('ArrowUp');
  const fps = await frameRate(page, 1600);
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

  console.log(`figures: ${fps.toFixed(1)} frames per second while driving; the page loads ` +
    `${pageBytes} bytes (${(pageBytes / 1048576).toFixed(2)} MiB) in ${pageFiles.length} files: ` +
    pageFiles.map((l) => `${l.url.slice(base.length) || '/'} ${l.bytes}`).join(', '));
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
  await clickDialog(page, 110, 90);
  await clickDialog(page, 150, 155);
  await page.waitForFunction(() => window.velkoSeen.screenFrames.length > 30, null,
    { timeout: 30000 });
  await page.keyboard.down('ArrowUp');
  const fps = await frameRate(page, 1500);
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
  console.log(`figures: full screen (${shown.fullScreen ? 'granted' : 'refused, page filled'}) ` +
    `${fps.toFixed(1)} frames per second`);
  await page.close();
  assert.deepEqual(problems, []);
});
