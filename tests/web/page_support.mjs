// What the browser tests of the web page share: the browser, the page watched from outside
// (its canvas uploads, the sounds it starts), the dialog driven as a player would, and the
// figures (frame rate, frame intervals) measured in the page.
import { mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../../tools/web/serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
export const site = resolve(process.env.VELKO_WEB_SITE ?? join(here, '../../build-web'));
export const shots = resolve(process.env.VELKO_WEB_SHOTS ?? join(tmpdir(), 'velko-web-shots'));
// The native build whose asset generator made the page's data files: its velko-sim replays
// the page's demos, its levels/ holds the circuits.
export const nativeBuild = resolve(process.env.VELKO_NATIVE_BUILD ?? join(here, '../../build'));
export const browserPath = process.env.VELKO_CHROMIUM ?? '/usr/bin/chromium';
// Chromium reaches for the network by itself unless told not to; this machine's network
// refuses it.
export const browserFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

export const dialogSize = { width: 300, height: 180 };
// Client coordinates of the dialog's controls.
export const dialogPoints = { windowedBox: [110, 90], ok: [150, 155] };

// Installed in every page before its own scripts: records what reaches the canvas and the
// sounds started, without touching the game. While `trackCar` is set, each frame's car (its
// blue paint) is located too.
export function watchPage() {
  const seen = { screenFrames: [], dialogs: [], sounds: [], cars: [], trackCar: false };
  window.velkoSeen = seen;
  const carOf = (data, width, height) => {
    let n = 0, sx = 0, sy = 0, minX = width, maxX = -1, minY = height, maxY = -1;
    // Right of the stands, whose crowd wears blue too.
    for (let y = 0; y < height; y += 2) {
      for (let x = 260; x < width; x += 2) {
        const at = (y * width + x) * 4;
        const r = data[at], g = data[at + 1], b = data[at + 2];
        if (b > 150 && r < 90 && b - g > 60) {
          ++n; sx += x; sy += y;
          minX = Math.min(minX, x); maxX = Math.max(maxX, x);
          minY = Math.min(minY, y); maxY = Math.max(maxY, y);
        }
      }
    }
    return n ? { x: sx / n, y: sy / n, width: maxX - minX + 2, height: maxY - minY + 2, n } : null;
  };
  seen.carOf = carOf;
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, ...rest) {
    if (this.canvas.id === 'velko-canvas') {
      if (image.width === 800 && image.height === 600) {
        // The display refresh the frame was composed in (the animation frame's own time), which
        // is when the player sees it; the clock's reading would add the page's own jitter.
        const t = document.timeline.currentTime ?? performance.now();
        seen.screenFrames.push(t);
        if (seen.trackCar) seen.cars.push({ t, car: carOf(image.data, 800, 600) });
      }
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

// The site served on a free port, and a browser; `stop` ends both.
export async function startBrowser() {
  mkdirSync(shots, { recursive: true });
  const server = await serve(site, 0);
  const browser = await chromium.launch({ executablePath: browserPath, headless: true,
    args: browserFlags });
  return {
    server,
    browser,
    base: `http://127.0.0.1:${server.address().port}/`,
    async stop() {
      await browser.close();
      server.close();
    },
  };
}

// A new page of `context`, watched; its errors are added to `problems`.
export async function openPage(context, problems, initScript) {
  const page = await context.newPage();
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
  await page.addInitScript(watchPage);
  if (initScript) await page.addInitScript(initScript);
  return page;
}

// Keys are held, not tapped: the game reads a snapshot of the keyboard once a frame.
export async function hold(page, key, ms = 120) {
  await page.keyboard.down(key);
  await page.waitForTimeout(ms);
  await page.keyboard.up(key);
  await page.waitForTimeout(60);
}

export async function pressAll(page, keys) {
  for (const key of keys) await hold(page, key);
}

// Waits for the n-th presentation of the dialog window and returns its pixels.
export async function dialogShown(page, count = 1) {
  await page.waitForFunction((n) => (window.velkoSeen.dialogCount || 0) >= n, count,
    { timeout: 30000 });
  return page.evaluate(() => window.velkoSeen.dialogs.at(-1));
}

// The page coordinates of a point of the dialog's client area, centred in the canvas's
// 800 x 600 desktop.
export async function dialogPoint(page, [x, y]) {
  const box = await page.locator('#velko-canvas').boundingBox();
  const scale = box.width / 800;
  const left = 400 - dialogSize.width / 2;
  const top = 300 - dialogSize.height / 2;
  return { x: box.x + (left + x + 0.5) * scale, y: box.y + (top + y + 0.5) * scale };
}

export async function clickDialog(page, point) {
  const { x, y } = await dialogPoint(page, point);
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.waitForTimeout(80);
  await page.mouse.up();
  await page.waitForTimeout(80);
}

export async function screenFrames(page) {
  return page.evaluate(() => window.velkoSeen.screenFrames.length);
}

export async function gameRunning(page) {
  await page.waitForFunction(() => window.velkoSeen.screenFrames.length > 30, null,
    { timeout: 30000 });
}

// The frames presented over the next `ms` of play: per second, and the intervals between
// them (ms) at the 1st, 50th and 99th percentiles.
export async function frameFigures(page, ms) {
  const from = await page.evaluate(() => performance.now());
  await page.waitForTimeout(ms);
  return page.evaluate((start) => {
    const times = window.velkoSeen.screenFrames.filter((t) => t >= start);
    if (times.length < 3) return { fps: 0, p1: 0, p50: 0, p99: 0 };
    const gaps = times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
    const at = (q) => gaps[Math.min(gaps.length - 1, Math.floor(q * gaps.length))];
    return { fps: (times.length - 1) * 1000 / (times.at(-1) - times[0]), p1: at(0.01),
      p50: at(0.5), p99: at(0.99) };
  }, from);
}

export function describeFrames({ fps, p1, p50, p99 }) {
  return `${fps.toFixed(1)} frames per second, intervals p1 ${p1.toFixed(2)} ms, ` +
    `p50 ${p50.toFixed(2)} ms, p99 ${p99.toFixed(2)} ms`;
}

// The car as the canvas shows it now: the centre and size of its blue paint.
export async function carNow(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById('velko-canvas');
    const image = canvas.getContext('2d').getImageData(0, 0, 800, 600);
    return window.velkoSeen.carOf(image.data, 800, 600);
  });
}

export async function crashSounds(page) {
  return page.evaluate(() => window.velkoSeen.sounds.length);
}
