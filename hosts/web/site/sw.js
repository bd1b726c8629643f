// The site's service worker: keeps every file of the folder, as one build,
// so that both programs open and run with no network. hosts/web/site.py fills in
// the build's files with their SHA-256 and the build's name, made of them.
//
// Installed, it fetches every file from the server, checks each against its
// hash and keeps them in a cache of the build's name: all of them or none (a
// folder copied over only in part, or a stale file from a cache on the way,
// fails the install, and the build already kept goes on serving). Activated,
// it deletes the caches of this folder's earlier builds. Each request for a
// file of the build is answered from its cache, the query string aside
// (solvara.html?seed=7 is solvara.html).

'use strict';

const BUILD = '{{{ BUILD }}}';
const FILES = {{{ FILES }}};

// Caches belong to the whole origin: the folder's own are named by its
// address, so that two copies of the folder on one server keep theirs.
const SCOPE = self.registration.scope;
const PREFIX = 'lessons ' + SCOPE + ' ';
const CACHE = PREFIX + BUILD;
const TYPES = { html: 'text/html; charset=utf-8', webmanifest: 'application/manifest+json', png: 'image/png',
  js: 'text/javascript; charset=utf-8', wasm: 'application/wasm', woff2: 'font/woff2' };

function hex(buffer) {
  return [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, '0')).join('');
}

async function fetchChecked(path) {
  // Past the browser's HTTP cache: a stale copy of a file fails its hash.
  const response = await fetch(new Request(path, { cache: 'no-cache' }));
  if (!response.ok) throw new Error(path + ': ' + response.status);
  const body = await response.arrayBuffer();
  if (hex(await crypto.subtle.digest('SHA-256', body)) !== FILES[path]) {
    throw new Error(path + ': not the file of build ' + BUILD);
  }
  // A response of its own: none of the server's redirects or headers kept.
  const type = TYPES[path.slice(path.lastIndexOf('.') + 1)] || 'application/octet-stream';
  return new Response(body, { headers: { 'Content-Type': type } });
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const paths = Object.keys(FILES);
    const responses = await Promise.all(paths.map(fetchChecked));
    await caches.delete(CACHE);  // what an install stopped half-way left
    const cache = await caches.open(CACHE);
    try {
      await Promise.all(paths.map((path, i) => cache.put(new URL(path, SCOPE).href, responses[i])));
    } catch (error) {
      await caches.delete(CACHE);
      throw error;
    }
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(PREFIX) && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(SCOPE)) return;
  const path = new URL(request.url).pathname.slice(new URL(SCOPE).pathname.length) || 'index.html';
  if (!Object.prototype.hasOwnProperty.call(FILES, path)) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(new URL(path, SCOPE).href);
    return kept || fetch(request);
  })());
});
