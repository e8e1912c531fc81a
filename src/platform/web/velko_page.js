// The page side of the web platform: the canvas that stands for the desktop and the windows in
// it, input events, held keys, Web Audio, text drawing, the message box, the end of a game,
// and the game's files (the settings kept in IndexedDB, each new screenshot offered as a
// download). The C++ side calls in through EM_JS; nothing here calls into the game. The clock,
// the touch controls, the gamepads, the choices of circuit and demo, and the offline copy have
// files of their own (velko_clock.js, velko_touch.js, velko_pads.js, velko_runs.js,
// velko_offline.js), which reach the page through VelkoPage.shared.
var VelkoPage = (function () {
  'use strict';

  var programDirectory = '/velko/';
  // Files that outlive the visit, kept in IndexedDB and written through at each save.
  var keptFiles = ['screen.ini'];
  var screenshotPattern = /^\/velko\/screenshots\/(screen\d+\.bmp)$/i;
  var databaseName = 'velko';
  var storeName = 'files';

  // Event types, as the platform interface numbers them.
  var MOUSE_MOVE = 1, MOUSE_DOWN = 2, MOUSE_UP = 3, KEY_DOWN = 4, KEY_UP = 5, CLOSE = 6;
  var FOCUS_GAINED = 7, FOCUS_LOST = 8, EXPOSED = 9;
  var HELD = 0x80;
  // Keys whose browser actions (scrolling, moving the focus, menus, the developer tools) would
  // get in the way of the game and its dialog.
  var ownKeys = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Tab', 'Space',
    'Enter', 'NumpadEnter', 'Escape', 'Backspace', 'Home', 'End', 'PageUp', 'PageDown', 'F4',
    'F12', 'AltLeft', 'AltRight']);
  var desktopColour = '#25313a';
  var desktopWidth = 800, desktopHeight = 600;
  var font = '13px sans-serif';

  var page = {};          // elements of the page
  var context = null;     // the canvas's 2D context
  var windows = new Map();  // id -> { id, x, y, width, height, visible, fullScreen }
  var order = [];         // window ids, bottom to top: the last visible one is active
  var events = [];
  var maxEvents = 1024;
  var eventWaiter = null;
  var keys = new Uint8Array(256);
  var dikOfCode = new Map();
  var captureWindow = 0;  // the window a button or finger went down in
  var audio = null;
  var textCanvas = null;
  var textContext = null;
  var textAscent = 0;
  var database = null;
  var setUpSteps = [];    // the other files' own setting up, once the page is there
  var touchLayout = false;
  var closing = false;    // the run in progress is asked to end, as closing its windows does
  var replayWaiter = null;  // ends the wait for "Rejouer"

  // ---- Page ----

  function find(id) { return document.getElementById(id); }

  function setUp() {
    page.stage = find('velko-stage');
    page.canvas = find('velko-canvas');
    page.message = find('velko-message');
    page.messageTitle = find('velko-message-title');
    page.messageText = find('velko-message-text');
    page.messageOk = find('velko-message-ok');
    page.end = find('velko-end');
    page.replay = find('velko-replay');
    page.status = find('velko-status');
    context = page.canvas.getContext('2d', { alpha: false });
    clearDesktop();

    var canvas = page.canvas;
    canvas.addEventListener('keydown', onKeyDown);
    canvas.addEventListener('keyup', onKeyUp);
    canvas.addEventListener('focus', function () { queueForActive(FOCUS_GAINED); });
    canvas.addEventListener('blur', releaseAll);
    window.addEventListener('blur', releaseAll);
    document.addEventListener('visibilitychange', function () {
      if (document.hidden) releaseAll();
    });
    // Mouse, pen and finger alike: a tap on the dialog is a click.
    canvas.addEventListener('pointerdown', onPointerDown);
    window.addEventListener('pointerup', onPointerUp);
    window.addEventListener('pointercancel', onPointerUp);
    window.addEventListener('pointermove', onPointerMove);
    canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    // Browsers start the sound at a key, a click or the end of a touch.
    ['pointerdown', 'pointerup', 'touchend'].forEach(function (type) {
      window.addEventListener(type, resumeAudio, true);
    });
    window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', fit);
    setUpSteps.forEach(function (step) { step(); });
    fit();
    canvas.focus();
  }

  // The page as a touch screen shows it: the game as large as the screen allows.
  function useTouchLayout() {
    if (touchLayout) return;
    touchLayout = true;
    document.body.classList.add('velko-touch');
    fit();
  }

  function setStatus(text) {
    if (page.status) page.status.textContent = text;
  }

  function clearDesktop() {
    context.fillStyle = desktopColour;
    context.fillRect(0, 0, page.canvas.width, page.canvas.height);
  }

  // The canvas scaled to the room it has, its aspect kept: a window's frame never grows past
  // its own size (but on a touch screen), a full screen fills the screen (or the page, where
  // the browser refused).
  function fit() {
    var canvas = page.canvas;
    var fullScreen = touchLayout;
    windows.forEach(function (w) { if (w.fullScreen) fullScreen = true; });
    var room = page.stage.getBoundingClientRect();
    var scale = Math.min(room.width / canvas.width, room.height / canvas.height);
    if (!fullScreen) scale = Math.min(scale, 1);
    if (!(scale > 0)) scale = 1;
    canvas.style.width = Math.floor(canvas.width * scale) + 'px';
    canvas.style.height = Math.floor(canvas.height * scale) + 'px';
  }

  // ---- Windows ----

  function active() {
    for (var i = order.length - 1; i >= 0; --i) {
      var w = windows.get(order[i]);
      if (w.visible) return w;
    }
    return null;
  }

  function windowAt(x, y) {
    for (var i = order.length - 1; i >= 0; --i) {
      var w = windows.get(order[i]);
      if (w.visible && x >= w.x && y >= w.y && x < w.x + w.width && y < w.y + w.height) return w;
    }
    return null;
  }

  // The area a window leaves is the desktop again; windows beneath show themselves anew.
  function uncover(gone) {
    context.fillStyle = desktopColour;
    context.fillRect(gone.x, gone.y, gone.width, gone.height);
    windows.forEach(function (w) {
      if (w !== gone && w.visible && w.x < gone.x + gone.width && gone.x < w.x + w.width &&
          w.y < gone.y + gone.height && gone.y < w.y + w.height) {
        queue({ type: EXPOSED, window: w.id });
      }
    });
  }

  function openWindow(id, x, y, width, height, visible, fullScreen, title) {
    var w = { id: id, x: x, y: y, width: width, height: height, visible: !!visible,
      fullScreen: !!fullScreen };
    windows.set(id, w);
    order.push(id);
    if (title) document.title = title;
    if (w.fullScreen) {
      page.canvas.width = width;
      page.canvas.height = height;
      clearDesktop();
      // Asked while the click or key that chose the mode still counts as the player's gesture.
      // On a touch screen the controls go full screen with the game.
      var stage = touchLayout ? document.documentElement : page.stage;
      if (stage.requestFullscreen && !document.fullscreenElement) {
        stage.requestFullscreen({ navigationUI: 'hide' }).catch(function () {});
      }
    }
    // A window of a run that is asked to end is closed as soon as it opens.
    if (closing) queue({ type: CLOSE, window: id });
    fit();
  }

  function closeWindow(id) {
    var w = windows.get(id);
    if (!w) return;
    windows.delete(id);
    order = order.filter(function (other) { return other !== id; });
    if (w.fullScreen) {
      page.canvas.width = desktopWidth;
      page.canvas.height = desktopHeight;
      clearDesktop();
      if (document.fullscreenElement && document.exitFullscreen) {
        document.exitFullscreen().catch(function () {});
      }
      windows.forEach(function (other) { if (other.visible) queue({ type: EXPOSED, window: other.id }); });
    } else if (w.visible) {
      uncover(w);
    }
    fit();
  }

  function showWindow(id, visible) {
    var w = windows.get(id);
    if (!w || w.visible === !!visible) return;
    w.visible = !!visible;
    if (!w.visible) uncover(w);
  }

  function raiseWindow(id) {
    if (!windows.has(id)) return;
    order = order.filter(function (other) { return other !== id; });
    order.push(id);
  }

  function isActive(id) {
    var w = active();
    return w !== null && w.id === id ? 1 : 0;
  }

  function present(id, pointer, width, height) {
    var w = windows.get(id);
    if (!w || !w.visible) return;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
    context.putImageData(new ImageData(pixels, width, height), w.x, w.y);
  }

  var yieldChannel = null;
  var yieldWaiters = [];
  function sleep(ms) {
    if (ms > 0) return new Promise(function (resolve) { setTimeout(resolve, ms); });
    // A bare yield: a message comes back without the delay browsers add to nested timers.
    if (!yieldChannel) {
      yieldChannel = new MessageChannel();
      yieldChannel.port1.onmessage = function () { yieldWaiters.shift()(); };
    }
    return new Promise(function (resolve) {
      yieldWaiters.push(resolve);
      yieldChannel.port2.postMessage(0);
    });
  }

  // ---- Events and keys ----

  function queue(event) {
    // Pointer moves not yet taken are merged: only the latest position matters.
    var last = events[events.length - 1];
    if (event.type === MOUSE_MOVE && last && last.type === MOUSE_MOVE && last.window === event.window) {
      events[events.length - 1] = event;
    } else {
      events.push(event);
    }
    // While the game drives, it reads the held keys and leaves the events: the oldest go.
    if (events.length > maxEvents) events.splice(0, events.length - maxEvents);
    if (eventWaiter) {
      var wake = eventWaiter;
      eventWaiter = null;
      wake();
    }
  }

  function queueForActive(type) {
    var w = active();
    queue({ type: type, window: w ? w.id : 0 });
  }

  function takeEvent(pointer) {
    var e = events.shift();
    if (!e) return 0;
    var at = pointer >> 2;
    HEAP32[at] = e.type;
    HEAP32[at + 1] = e.window || 0;
    HEAP32[at + 2] = e.x || 0;
    HEAP32[at + 3] = e.y || 0;
    HEAP32[at + 4] = e.button || 0;
    HEAP32[at + 5] = e.scan || 0;
    HEAP32[at + 6] = e.shift ? 1 : 0;
    HEAP32[at + 7] = e.repeat ? 1 : 0;
    return 1;
  }

  function waitForEvent() {
    if (events.length) return Promise.resolve();
    return new Promise(function (resolve) { eventWaiter = resolve; });
  }

  function nameKey(code, dik) { dikOfCode.set(code, dik); }

  function hasFocus() {
    return document.activeElement === page.canvas && document.hasFocus();
  }

  // The held keys, all released while the canvas has no focus; 1 while it has it.
  function readKeys(pointer) {
    if (hasFocus()) {
      HEAPU8.set(keys, pointer);
      return 1;
    }
    HEAPU8.fill(0, pointer, pointer + 256);
    return 0;
  }

  // A key held or let go, by its browser name (KeyboardEvent.code), from the keyboard or a
  // control of the page standing for it.
  function setKey(code, down, shift, repeat) {
    var dik = dikOfCode.get(code) || 0;
    if (dik) keys[dik] = down ? HELD : 0;
    var w = active();
    queue({ type: down ? KEY_DOWN : KEY_UP, window: w ? w.id : 0, scan: dik, shift: !!shift,
      repeat: !!repeat });
  }

  function onKeyDown(e) {
    resumeAudio();
    // With Ctrl or Meta the key is the browser's (its shortcuts), not the game's.
    if (ownKeys.has(e.code) && !e.ctrlKey && !e.metaKey) e.preventDefault();
    setKey(e.code, true, e.shiftKey, e.repeat);
  }

  function onKeyUp(e) {
    if (ownKeys.has(e.code)) e.preventDefault();
    setKey(e.code, false, e.shiftKey, false);
  }

  // The page lost the focus: every held key is let go, as the game sees it.
  function releaseAll() {
    var w = active();
    var id = w ? w.id : 0;
    for (var dik = 1; dik < 256; ++dik) {
      if (keys[dik]) {
        keys[dik] = 0;
        queue({ type: KEY_UP, window: id, scan: dik });
      }
    }
    queue({ type: FOCUS_LOST, window: id });
  }

  function canvasPoint(e) {
    var canvas = page.canvas;
    var box = canvas.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return null;
    return {
      x: Math.floor((e.clientX - box.left) * canvas.width / box.width),
      y: Math.floor((e.clientY - box.top) * canvas.height / box.height),
    };
  }

  function queueMouse(type, w, point, button) {
    queue({ type: type, window: w.id, x: point.x - w.x, y: point.y - w.y, button: button });
  }

  function onPointerDown(e) {
    page.canvas.focus();
    // No emulated mouse events after a touch, no text selection, no drag.
    e.preventDefault();
    if (e.pointerType === 'touch') useTouchLayout();
    var point = canvasPoint(e);
    var w = point && windowAt(point.x, point.y);
    if (!w) return;
    captureWindow = w.id;
    queueMouse(MOUSE_DOWN, w, point, e.button + 1);
  }

  function onPointerUp(e) {
    var point = canvasPoint(e);
    if (!point) return;
    var w = windows.get(captureWindow) || (e.target === page.canvas && windowAt(point.x, point.y));
    if (e.buttons === 0) captureWindow = 0;
    if (w) queueMouse(MOUSE_UP, w, point, Math.max(e.button, 0) + 1);
  }

  function onPointerMove(e) {
    var point = canvasPoint(e);
    if (!point) return;
    var w = windows.get(captureWindow) || (e.target === page.canvas && windowAt(point.x, point.y));
    if (w) queueMouse(MOUSE_MOVE, w, point, 0);
  }

  // ---- Sound ----

  function audioOpen() {
    var AudioContextType = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextType) return 0;
    try {
      audio = { context: new AudioContextType(), buffers: new Map(), voices: new Map(), next: 1 };
    } catch (e) {
      audio = null;
      return 0;
    }
    return 1;
  }

  function audioClose() {
    if (!audio) return;
    audio.voices.forEach(function (voice) { try { voice.stop(); } catch (e) {} });
    audio.context.close().catch(function () {});
    audio = null;
  }

  // Browsers start an audio context suspended until the player does something.
  function resumeAudio() {
    if (audio && audio.context.state === 'suspended') audio.context.resume().catch(function () {});
  }

  function audioBuffer(channels, frames, rate, pointer) {
    if (!audio) return 0;
    var buffer;
    try {
      buffer = audio.context.createBuffer(channels, frames, rate);
    } catch (e) {
      return 0;  // a rate or size the browser does not take
    }
    var first = pointer >> 2;
    for (var c = 0; c < channels; ++c) {
      buffer.copyToChannel(HEAPF32.subarray(first + c * frames, first + (c + 1) * frames), c);
    }
    var id = audio.next++;
    audio.buffers.set(id, buffer);
    return id;
  }

  function audioStop(id) {
    if (!audio) return;
    var voice = audio.voices.get(id);
    if (!voice) return;
    audio.voices.delete(id);
    try { voice.stop(); } catch (e) {}
  }

  function audioPlay(id, loop) {
    if (!audio || !audio.buffers.has(id)) return;
    audioStop(id);
    var voice = audio.context.createBufferSource();
    voice.buffer = audio.buffers.get(id);
    voice.loop = !!loop;
    voice.connect(audio.context.destination);
    voice.onended = function () {
      if (audio && audio.voices.get(id) === voice) audio.voices.delete(id);
    };
    audio.voices.set(id, voice);
    voice.start();
  }

  function audioFree(id) {
    if (!audio) return;
    audioStop(id);
    audio.buffers.delete(id);
  }

  // ---- Text ----

  function textSurface() {
    if (!textContext) {
      textCanvas = document.createElement('canvas');
      textCanvas.width = 64;
      textCanvas.height = 16;
      textContext = textCanvas.getContext('2d', { willReadFrequently: true });
    }
    textContext.font = font;
    return textContext;
  }

  function textSize(text, pointer) {
    var ctx = textSurface();
    var metrics = ctx.measureText(text);
    var ascent = metrics.fontBoundingBoxAscent;
    var descent = metrics.fontBoundingBoxDescent;
    if (!(ascent > 0)) ascent = metrics.actualBoundingBoxAscent || 11;
    if (!(descent > 0)) descent = metrics.actualBoundingBoxDescent || 3;
    textAscent = Math.ceil(ascent);
    HEAP32[pointer >> 2] = Math.ceil(metrics.width);
    HEAP32[(pointer >> 2) + 1] = textAscent + Math.ceil(descent);
  }

  function textDraw(text, pointer, width, height) {
    var ctx = textSurface();
    if (textCanvas.width < width || textCanvas.height < height) {
      textCanvas.width = Math.max(textCanvas.width, width);
      textCanvas.height = Math.max(textCanvas.height, height);
      ctx = textSurface();  // resizing resets the context's state
    }
    ctx.clearRect(0, 0, width, height);
    ctx.fillStyle = '#000';
    ctx.textBaseline = 'alphabetic';
    ctx.fillText(text, 0, textAscent);
    // The ink's coverage is its opacity over the transparent canvas.
    var rgba = ctx.getImageData(0, 0, width, height).data;
    for (var i = 0, n = width * height; i < n; ++i) HEAPU8[pointer + i] = rgba[i * 4 + 3];
  }

  // ---- Message box and the end ----

  function messageBox(title, text) {
    releaseAll();
    if (closing) return Promise.resolve();
    var dialog = page.message;
    if (!dialog || typeof dialog.showModal !== 'function') {
      window.alert(title + '\n\n' + text);
      return Promise.resolve();
    }
    page.messageTitle.textContent = title;
    page.messageText.textContent = text;
    return new Promise(function (resolve) {
      function closed() {
        dialog.removeEventListener('close', closed);
        page.canvas.focus();
        resolve();
      }
      dialog.addEventListener('close', closed);
      dialog.showModal();
      page.messageOk.focus();
    });
  }

  function gameOver() {
    releaseAll();
    events.length = 0;
    setStatus('');
    if (document.fullscreenElement && document.exitFullscreen) {
      document.exitFullscreen().catch(function () {});
    }
    page.end.hidden = false;
    page.replay.focus();
    return new Promise(function (resolve) {
      function again() {
        page.replay.removeEventListener('click', again);
        replayWaiter = null;
        page.end.hidden = true;
        page.canvas.focus();
        resolve();
      }
      replayWaiter = again;
      page.replay.addEventListener('click', again);
    });
  }

  // Ends the run in progress as closing its windows would: the dialog ends as its close box
  // ends it, the game as when its window is closed (the platform's close request), a message
  // box as its OK does; after a run, the page goes on as "Rejouer" does.
  function closeRun() {
    closing = true;
    windows.forEach(function (w) { queue({ type: CLOSE, window: w.id }); });
    if (page.message && page.message.open) page.message.close();
    if (replayWaiter) replayWaiter();
  }

  // ---- Files ----

  function openDatabase() {
    return new Promise(function (resolve, reject) {
      if (typeof indexedDB === 'undefined') {
        reject(new Error('no IndexedDB'));
        return;
      }
      var request = indexedDB.open(databaseName, 1);
      request.onupgradeneeded = function () { request.result.createObjectStore(storeName); };
      request.onsuccess = function () { resolve(request.result); };
      request.onerror = function () { reject(request.error); };
      request.onblocked = function () { reject(new Error('IndexedDB is blocked')); };
    });
  }

  function readKept(db, name) {
    return new Promise(function (resolve) {
      var request = db.transaction(storeName, 'readonly').objectStore(storeName).get(name);
      request.onsuccess = function () { resolve(request.result); };
      request.onerror = function () { resolve(undefined); };
    });
  }

  function keep(name, bytes) {
    if (!database) return;
    try {
      database.transaction(storeName, 'readwrite').objectStore(storeName).put(bytes, name);
    } catch (e) {
      console.warn('Velko: ' + name + ' could not be kept: ' + e);
    }
  }

  function offerDownload(name, bytes) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'image/bmp' }));
    link.download = name;
    link.hidden = true;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
  }

  // A file of the game was written and closed, or renamed into place.
  function fileWritten(path) {
    for (var i = 0; i < keptFiles.length; ++i) {
      if (path === programDirectory + keptFiles[i]) keep(keptFiles[i], FS.readFile(path));
    }
    var shot = screenshotPattern.exec(path);
    if (shot) offerDownload(shot[1], FS.readFile(path));
  }

  // The game writes with plain POSIX calls: the file system's close and rename are watched, so
  // the game needs to know nothing of the page.
  function watchFiles() {
    var close = FS.close;
    FS.close = function (stream) {
      var path = stream.path;
      var written = (stream.flags & 3) !== 0;  // opened for writing
      var result = close.apply(this, arguments);
      if (written && path) fileWritten(path);
      return result;
    };
    var rename = FS.rename;
    FS.rename = function (from, to) {
      var result = rename.apply(this, arguments);
      fileWritten(PATH.normalize(to));
      return result;
    };
  }

  // Before the game starts: its folder with an empty screenshots folder (the game saves
  // screenshots only where that folder exists), and the kept files brought back.
  function prepareFiles() {
    FS.mkdirTree(programDirectory + 'screenshots');
    addRunDependency('velko-kept-files');
    var started = false;
    var restored = openDatabase().then(function (db) {
      database = db;
      return Promise.all(keptFiles.map(function (name) {
        return readKept(db, name).then(function (bytes) {
          if (!started && bytes instanceof Uint8Array) FS.writeFile(programDirectory + name, bytes);
        });
      }));
    });
    // The game does not wait for a database that never answers.
    var late = new Promise(function (resolve, reject) {
      setTimeout(function () { reject(new Error('IndexedDB did not answer')); }, 5000);
    });
    Promise.race([restored, late]).catch(function (e) {
      console.warn('Velko: settings will not be kept (' + e + ')');
    }).then(function () {
      started = true;
      watchFiles();
      removeRunDependency('velko-kept-files');
    });
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    setUp();
    prepareFiles();
  });
  // The loader reports its progress in English; the page only says it is loading.
  Module.setStatus = function (text) { setStatus(text ? 'Chargement\u2026' : ''); };
  Module.onAbort = function () {
    setStatus('Le jeu s\u2019est arr\u00eat\u00e9 sur une erreur.');
  };

  return {
    programDirectory: programDirectory,
    openWindow: openWindow,
    closeWindow: closeWindow,
    showWindow: showWindow,
    raiseWindow: raiseWindow,
    isActive: isActive,
    setTitle: function (title) { if (title) document.title = title; },
    present: present,
    sleep: sleep,
    nameKey: nameKey,
    takeEvent: takeEvent,
    waitForEvent: waitForEvent,
    readKeys: readKeys,
    audioOpen: audioOpen,
    audioClose: audioClose,
    audioBuffer: audioBuffer,
    audioPlay: audioPlay,
    audioStop: audioStop,
    audioFree: audioFree,
    textSize: textSize,
    textDraw: textDraw,
    messageBox: messageBox,
    gameOver: gameOver,
    closeRequested: function () { return closing ? 1 : 0; },
    // For the page's other files.
    shared: {
      page: page,
      queue: queue,
      active: active,
      hasFocus: hasFocus,
      setKey: setKey,
      useTouchLayout: useTouchLayout,
      closeRun: closeRun,
      // A new run starts: nothing asks it to end yet.
      runStarting: function () { closing = false; },
      onSetUp: function (step) { setUpSteps.push(step); },
    },
  };
})();
