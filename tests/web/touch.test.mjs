// The page on a phone, in both orientations: the touch controls shown inside the screen, the
// dialog answered by taps, the car driven by fingers held on the controls (several at once),
// and the quit button. A desktop shows no touch controls. Fingers go through Chromium's own
// touch input (DevTools' Input.dispatchTouchEvent), as a touch screen's would.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import {
  carNow, crashSounds, describeFrames, dialogPoint, dialogPoints, dialogShown, frameFigures,
  gameRunning, openPage, shots, startBrowser,
} from './page_support.mjs';

const controls = ['Gauche', 'Droite', 'Acc\u00e9l\u00e9rer', 'Freiner', 'Photo', 'Quitter'];

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session?.stop(); });

// Fingers on the screen: `down` puts fingers (id -> name of a control or a point) down,
// `upAll` lifts them all.
function touchScreen(page, cdp) {
  const fingers = new Map();
  async function pointOf(target) {
    if (typeof target !== 'string') return target;
    const box = await page.getByRole('button', { name: target, exact: true }).boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }
  const points = () => [...fingers].map(([id, p]) => ({ id, x: p.x, y: p.y, radiusX: 4, radiusY: 4 }));
  return {
    async down(id, target) {
      fingers.set(id, await pointOf(target));
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: points() });
    },
    async upAll() {
      fingers.clear();
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    },
    async tap(target) {
      await this.down(1, target);
      await page.waitForTimeout(80);
      await this.upAll();
      await page.waitForTimeout(80);
    },
  };
}

const phones = [
  { name: 'landscape', viewport: { width: 844, height: 390 } },
  { name: 'portrait', viewport: { width: 390, height: 844 } },
];

for (const phone of phones) {
  test(`a phone in ${phone.name}: the controls, the dialog by taps, driving by touch, quitting`,
    async () => {
      const context = await session.browser.newContext({ viewport: phone.viewport, hasTouch: true,
        isMobile: true, deviceScaleFactor: 1 });
      const problems = [];
      const page = await openPage(context, problems);
      const cdp = await context.newCDPSession(page);
      const fingers = touchScreen(page, cdp);
      await page.goto(session.base);
      await dialogShown(page);

      // Every control shown, whole, inside the screen; the page itself does not scroll.
      for (const name of controls) {
        const control = page.getByRole('button', { name, exact: true });
        assert.ok(await control.isVisible(), `${name} is shown`);
        const box = await control.boundingBox();
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= phone.viewport.width &&
          box.y + box.height <= phone.viewport.height, `${name} at ${JSON.stringify(box)}`);
      }
      // No two of them overlap: a finger finds the one it aims at.
      const boxes = await Promise.all(controls.map(
        (name) => page.getByRole('button', { name, exact: true }).boundingBox()));
      boxes.forEach((a, i) => boxes.slice(i + 1).forEach((b, j) => {
        const apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
          b.y + b.height <= a.y;
        assert.ok(apart, `${controls[i]} and ${controls[i + 1 + j]} overlap`);
      }));
      const scrollable = await page.evaluate(() => ({
        width: document.documentElement.scrollWidth, height: document.documentElement.scrollHeight,
      }));
      assert.ok(scrollable.width <= phone.viewport.width &&
        scrollable.height <= phone.viewport.height, JSON.stringify(scrollable));

      // The dialog by taps: tick "Mode fenêtré", then OK.
      await fingers.tap(await dialogPoint(page, dialogPoints.windowedBox));
      await fingers.tap(await dialogPoint(page, dialogPoints.ok));
      await gameRunning(page);
      await page.screenshot({ path: join(shots, `touch-${phone.name}.png`) });

      // A finger held on the accelerator drives the car up into the barrier: the crash sound.
      const start = await carNow(page);
      await fingers.down(1, 'Acc\u00e9l\u00e9rer');
      const frames = await frameFigures(page, 1800);
      await page.waitForFunction(() => window.velkoSeen.sounds.length > 0, null,
        { timeout: 10000 });
      await fingers.upAll();
      const atWall = await carNow(page);
      assert.ok(atWall.y < start.y - 100, `the car went from ${start.y} to ${atWall.y}`);
      const sounds = await page.evaluate(() => window.velkoSeen.sounds);
      assert.equal(sounds[0].state, 'running', 'the sound started at the first touch');
      await page.screenshot({ path: join(shots, `touch-${phone.name}-driven.png`) });

      // Steering and accelerating at once turns the car: its outline goes from tall to wide.
      await page.waitForTimeout(500);
      const before = await carNow(page);
      await fingers.down(1, 'Acc\u00e9l\u00e9rer');
      await fingers.down(2, 'Gauche');
      await page.waitForTimeout(500);
      await fingers.upAll();
      await page.waitForTimeout(200);
      const turned = await carNow(page);
      assert.ok(turned.width / turned.height > before.width / before.height + 0.2,
        `the car from ${before.width} x ${before.height} to ${turned.width} x ${turned.height}`);
      assert.ok(await crashSounds(page) >= 1);

      // The quit button ends the game.
      await fingers.tap('Quitter');
      await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
      console.log(`figures: phone ${phone.name}, driving by touch: ${describeFrames(frames)}`);
      await context.close();
      assert.deepEqual(problems, []);
    });
}

test('a desktop shows no touch controls', async () => {
  const context = await session.browser.newContext({ viewport: { width: 1000, height: 700 } });
  const problems = [];
  const page = await openPage(context, problems);
  await page.goto(session.base);
  await dialogShown(page);
  for (const name of controls) {
    assert.equal(await page.getByRole('button', { name, exact: true }).isVisible(), false, name);
  }
  await context.close();
  assert.deepEqual(problems, []);
});
