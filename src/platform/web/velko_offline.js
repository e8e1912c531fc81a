// The page keeps working without the network: a service worker (sw.js, written by the build
// beside the page) keeps the page's files at the first visit and serves them from then on; a
// new build, whose worker names a new cache, replaces them.
(function () {
  'use strict';
  if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return;
  window.addEventListener('load', function () {
    navigator.serviceWorker.register('sw.js', { updateViaCache: 'none' }).catch(function (e) {
      console.warn('Velko: the page will not work offline (' + e + ')');
    });
  });
})();
