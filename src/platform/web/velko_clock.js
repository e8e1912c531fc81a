// The game's clock and its waits for the display.
// The clock is the wall clock in milliseconds (performance.timeOrigin + performance.now(): each
// visit starts elsewhere, and the game's random seed with it), with two departures, and never
// going back:
// - From a display refresh to the end of the work it started, it reads the refresh's own time:
//   the frame that the game composes then is timed from refresh to refresh, so the car moves
//   evenly, and the frame pacer's wait ends exactly at the first refresh at or past its deadline
//   (read a moment later, the clock would put a refresh that is due a fraction of a millisecond
//   after it, and the frame would slip to the next one).
// - The time the page spends hidden does not count: a hidden page gets no refreshes, the game
//   stands still, and when the player comes back its next frame moves the car by one frame's
//   time, not by the whole absence. The clock stops at the last refresh before the page was
//   hidden, the time of the frame last shown, so the frame after the return does not also carry
//   the moments before the absence.
var VelkoClock = (function () {
  'use strict';

  var origin = performance.timeOrigin || Date.now() - performance.now();
  var hiddenFor = 0;                                       // ms hidden before now
  var hiddenSince = document.hidden ? performance.now() : -1;
  var refresh = null;      // { time } of the refresh whose work is running
  var lastRefresh = -Infinity;
  var lastReading = 0;
  var refreshed = false;   // a refresh was waited for since the last frame shown

  document.addEventListener('visibilitychange', function () {
    if (document.hidden && hiddenSince < 0) {
      var at = performance.now();
      // A refresh this recent (ms) is the one that showed the last frame.
      hiddenSince = at - lastRefresh < 50 ? lastRefresh : at;
    } else if (!document.hidden && hiddenSince >= 0) {
      hiddenFor += performance.now() - hiddenSince;
      hiddenSince = -1;
    }
  });

  function now() {
    var time = hiddenSince >= 0 ? hiddenSince : refresh ? refresh.time : performance.now();
    lastReading = Math.max(lastReading, origin + time - hiddenFor);
    return lastReading;
  }

  // Resolves at the browser's next display refresh (its next animation frame); the clock reads
  // that refresh's time until the work it starts is done. A hidden page, which has no
  // refreshes, still moves on now and then.
  function nextRefresh() {
    return new Promise(function (resolve) {
      function start(time) {
        var current = { time: time };
        refresh = current;
        lastRefresh = time;
        setTimeout(function () { if (refresh === current) refresh = null; }, 0);
        resolve();
      }
      var timer = setTimeout(function () { start(performance.now()); }, 100);
      requestAnimationFrame(function (time) {
        clearTimeout(timer);
        start(Math.min(time, performance.now()));
      });
    });
  }

  // Resolves at the first refresh at or past `deadline` (a reading of now()).
  async function waitUntil(deadline) {
    while (now() < deadline) {
      await nextRefresh();
      refreshed = true;
    }
  }

  // A frame of the game's screen was shown: 1 when no refresh came between it and the one
  // before, so it still owes the display a refresh.
  function frameShown() {
    var owed = !refreshed;
    refreshed = false;
    return owed ? 1 : 0;
  }

  return { now: now, nextRefresh: nextRefresh, waitUntil: waitUntil, frameShown: frameShown };
})();
