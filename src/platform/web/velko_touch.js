// The controls of a touch screen: steering on one side, the pedals on the other, the
// screenshot and quit buttons. Each holds its key, in the same key state the keyboard feeds,
// while a finger is on it; several fingers hold several controls, and a finger sliding from one
// control to another lets go of the first. They show on a device that has a touch screen, or
// from its first touch.
var VelkoTouch = (function (shared) {
  'use strict';

  var controls = [];        // { element, code, held }
  var fingers = new Map();  // pointer id -> the control under it, or null

  function controlAt(x, y) {
    var element = document.elementFromPoint(x, y);
    for (var i = 0; i < controls.length; ++i) {
      if (controls[i].element === element || controls[i].element.contains(element)) {
        return controls[i];
      }
    }
    return null;
  }

  // Holds the controls that have a finger on them, lets go of the others.
  function update() {
    controls.forEach(function (control) {
      var held = false;
      fingers.forEach(function (under) { if (under === control) held = true; });
      if (held === control.held) return;
      control.held = held;
      control.element.classList.toggle('velko-held', held);
      shared.setKey(control.code, held, false, false);
    });
  }

  function onDown(e) {
    e.preventDefault();
    if (e.pointerType === 'touch') shared.useTouchLayout();
    // Touch pointers are captured by the control they start on; sliding must reach the others.
    if (e.target.hasPointerCapture && e.target.hasPointerCapture(e.pointerId)) {
      e.target.releasePointerCapture(e.pointerId);
    }
    fingers.set(e.pointerId, controlAt(e.clientX, e.clientY));
    update();
  }

  function onMove(e) {
    if (!fingers.has(e.pointerId)) return;
    fingers.set(e.pointerId, controlAt(e.clientX, e.clientY));
    update();
  }

  function onUp(e) {
    if (!fingers.delete(e.pointerId)) return;
    update();
  }

  function letGoAll() {
    fingers.clear();
    update();
  }

  function setUp() {
    var area = document.getElementById('velko-touch');
    if (!area) return;
    area.querySelectorAll('[data-key]').forEach(function (element) {
      controls.push({ element: element, code: element.dataset.key, held: false });
    });
    area.addEventListener('pointerdown', onDown);
    window.addEventListener('pointermove', onMove);
    window.addEventListener('pointerup', onUp);
    window.addEventListener('pointercancel', onUp);
    // No scrolling, zooming, selecting or menus from a finger on the controls.
    area.addEventListener('touchstart', function (e) { e.preventDefault(); }, { passive: false });
    area.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    // The page lost the focus: the keyboard's keys were let go, the fingers' are too.
    window.addEventListener('blur', letGoAll);
    document.addEventListener('visibilitychange', function () {
      if (document.hidden) letGoAll();
    });
    var coarse = window.matchMedia && window.matchMedia('(any-pointer: coarse)').matches;
    if (navigator.maxTouchPoints > 0 || coarse) shared.useTouchLayout();
  }

  shared.onSetUp(setUp);
  return { letGoAll: letGoAll };
})(VelkoPage.shared);
