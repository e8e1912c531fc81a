// Gamepads through the Gamepad API, in the browser's standard layout only (its buttons 0 A,
// 1 B, 2 X, 3 Y, 6 and 7 the analog triggers, 8 Back, 9 Start, 12-15 the D-pad; axis 0 the
// left stick's x). The page only reads them: what a button means is decided by the game's pad
// mapping on the C++ side, which reads the pads' state once a frame and takes each button
// press and release as an event for the dialog. A pad plugged in before or during the game
// counts; one removed lets go of its buttons.
var VelkoPads = (function (shared) {
  'use strict';

  var PAD_DOWN = 100, PAD_UP = 101;  // event types, as web_pads.h numbers them
  var buttonCount = 17;
  var pressedBefore = new Map();  // pad index -> its buttons' pressed flags at the last look

  function standardPads() {
    var list = navigator.getGamepads ? navigator.getGamepads() : [];
    var pads = [];
    for (var i = 0; i < (list ? list.length : 0); ++i) {
      var pad = list[i];
      if (pad && pad.connected !== false && pad.mapping === 'standard') pads.push(pad);
    }
    return pads;
  }

  function pressedOf(pad) {
    var pressed = [];
    for (var b = 0; b < buttonCount; ++b) {
      var button = pad.buttons[b];
      pressed.push(!!button && !!button.pressed);
    }
    return pressed;
  }

  // Each pad as buttonCount pressed flags (1 or 0), buttonCount analog values, then the left
  // stick's x, as floats; returns the number of pads written.
  function read(pointer, maxPads) {
    var pads = standardPads().slice(0, maxPads);
    var at = pointer >> 2;
    pads.forEach(function (pad) {
      var pressed = pressedOf(pad);
      for (var b = 0; b < buttonCount; ++b) {
        var button = pad.buttons[b];
        HEAPF32[at + b] = pressed[b] ? 1 : 0;
        HEAPF32[at + buttonCount + b] = button ? Number(button.value) || 0 : 0;
      }
      HEAPF32[at + 2 * buttonCount] = Number(pad.axes[0]) || 0;
      at += 2 * buttonCount + 1;
    });
    return pads.length;
  }

  function queueButton(type, index) {
    // Pad buttons, like keys, go to the game only while the canvas has the focus.
    if (!shared.hasFocus()) return;
    var w = shared.active();
    shared.queue({ type: type, window: w ? w.id : 0, button: index });
  }

  // A, on the page's own buttons ("Rejouer", a message's OK), presses them.
  function pressPageButton() {
    var focused = document.activeElement;
    if (focused && focused.tagName === 'BUTTON' && !focused.closest('#velko-touch')) focused.click();
  }

  // Turns the changes since the last look into button events.
  function poll() {
    var seen = new Set();
    standardPads().forEach(function (pad) {
      seen.add(pad.index);
      var before = pressedBefore.get(pad.index) || [];
      var now = pressedOf(pad);
      for (var b = 0; b < buttonCount; ++b) {
        if (now[b] === !!before[b]) continue;
        queueButton(now[b] ? PAD_DOWN : PAD_UP, b);
        if (now[b] && b === 0) pressPageButton();
      }
      pressedBefore.set(pad.index, now);
    });
    // A pad that went away lets go of what it held.
    pressedBefore.forEach(function (before, index) {
      if (seen.has(index)) return;
      before.forEach(function (held, b) { if (held) queueButton(PAD_UP, b); });
      pressedBefore.delete(index);
    });
  }

  function setUp() {
    // The API has no button events: the pads are looked at on every display refresh.
    function everyRefresh() {
      poll();
      requestAnimationFrame(everyRefresh);
    }
    requestAnimationFrame(everyRefresh);
    window.addEventListener('gamepaddisconnected', poll);
  }

  shared.onSetUp(setUp);
  return { read: read, poll: poll };
})(VelkoPage.shared);
