// A gamepad in the page. Chromium has no virtual gamepad: the page is given a scripted
// navigator.getGamepads() before it loads, a pad in the browser's standard layout whose buttons
// and axes the test sets. The dialog is answered with the D-pad and A, the car driven with A,
// the stick and the trigger; a pad pulled out while A is held lets go; Back quits.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import {
  carNow, crashSounds, dialogShown, gameRunning, openPage, startBrowser,
} from './page_support.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session?.stop(); });

function scriptedPad() {
  const pad = { id: 'Velko test pad (STANDARD GAMEPAD)', index: 0, connected: true,
    mapping: 'standard', timestamp: 0, axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })) };
  let plugged = true;
  const announce = (type) => {
    const event = new Event(type);
    event.gamepad = pad;
    window.dispatchEvent(event);
  };
  window.velkoPad = {
    button(index, value) {
      pad.buttons[index] = { pressed: value > 0.1, touched: value > 0, value };
      pad.timestamp = performance.now();
    },
    axis(index, value) { pad.axes[index] = value; },
    plug(on) {
      plugged = on;
      pad.connected = on;
      announce(on ? 'gamepadconnected' : 'gamepaddisconnected');
    },
  };
  navigator.getGamepads = () => [plugged ? pad : null, null, null, null];
}

const A = 0, BACK = 8, UP = 12, DOWN = 13, RIGHT_TRIGGER = 7;

async function setButton(page, index, value) {
  await page.evaluate(([i, v]) => window.velkoPad.button(i, v), [index, value]);
}

async function press(page, index) {
  await setButton(page, index, 1);
  await page.waitForTimeout(120);
  await setButton(page, index, 0);
  await page.waitForTimeout(80);
}

// The car's places frame by frame while `during` runs.
async function track(page, during) {
  await page.evaluate(() => { window.velkoSeen.cars = []; window.velkoSeen.trackCar = true; });
  await during();
  return page.evaluate(() => {
    window.velkoSeen.trackCar = false;
    return window.velkoSeen.cars.filter((c) => c.car).map((c) => ({ t: c.t, ...c.car }));
  });
}

test('a pad: the dialog, driving, a pad pulled out while A is held, Back', async () => {
  const context = await session.browser.newContext({ viewport: { width: 1000, height: 700 } });
  const problems = [];
  const page = await openPage(context, problems, scriptedPad);
  await page.goto(session.base);
  await dialogShown(page);

  // Down to the list, down to "Mode fenêtré", A ticks it; down past the other two boxes to OK,
  // up and down again (Shift+Tab, Tab), A presses it: the game starts in a window.
  for (const button of [DOWN, DOWN, A, DOWN, DOWN, DOWN, UP, DOWN, A]) await press(page, button);
  await gameRunning(page);
  const canvasWidth = await page.evaluate(
    () => document.getElementById('velko-canvas').getBoundingClientRect().width);
  assert.equal(canvasWidth, 800, 'windowed, as ticked with the pad');

  // A held: the car drives off; the pad pulled out while A is still down: the car coasts to a
  // stop short of the barrier it would otherwise hit.
  const start = await carNow(page);
  const cars = await track(page, async () => {
    await setButton(page, A, 1);
    await page.waitForTimeout(350);
    await page.evaluate(() => window.velkoPad.plug(false));
    await page.waitForTimeout(2500);
  });
  const last = cars.at(-1);
  assert.ok(last.y < start.y - 20, `the car went from ${start.y} to ${last.y}`);
  const still = cars.filter((c) => c.t > last.t - 500);
  assert.ok(still.every((c) => Math.abs(c.y - last.y) < 1), 'the car stopped');
  assert.equal(await crashSounds(page), 0, 'no crash: A was let go');

  // Plugged in again: the right trigger and the stick pushed left drive and turn the car.
  await setButton(page, A, 0);
  await page.evaluate(() => window.velkoPad.plug(true));
  const before = await carNow(page);
  await setButton(page, RIGHT_TRIGGER, 0.9);
  await page.evaluate(() => window.velkoPad.axis(0, -0.9));
  await page.waitForTimeout(600);
  await setButton(page, RIGHT_TRIGGER, 0);
  await page.evaluate(() => window.velkoPad.axis(0, 0));
  await page.waitForTimeout(200);
  const turned = await carNow(page);
  assert.ok(turned.width / turned.height > before.width / before.height + 0.2,
    `the car from ${before.width} x ${before.height} to ${turned.width} x ${turned.height}`);

  // Back quits; A on "Rejouer" starts again.
  await press(page, BACK);
  await page.locator('#velko-end').waitFor({ state: 'visible', timeout: 15000 });
  const dialogs = await page.evaluate(() => window.velkoSeen.dialogCount);
  await press(page, A);
  await dialogShown(page, dialogs + 1);
  await context.close();
  assert.deepEqual(problems, []);
});
