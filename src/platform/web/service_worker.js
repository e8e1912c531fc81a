// The page's service worker: at its installation it keeps every file of the page in a cache
// named after the build, then serves them from there, the network only for what it lacks.
// The build writes this file as sw.js with the cache's name and the list of files filled in;
// a new build names a new cache, which replaces the old one once it is complete.
'use strict';

const cacheName = '@CACHE_NAME@';
const files = @FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    // From the server, not from the browser's HTTP cache, which may hold an older build.
    await cache.addAll(files.map((file) => new Request(file, { cache: 'reload' })));
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== cacheName && name.startsWith('velko-')) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    const kept = (await cache.match(request, { ignoreSearch: true })) ||
      (request.mode === 'navigate' ? await cache.match('./') : undefined);
    return kept || fetch(request);
  })());
});
