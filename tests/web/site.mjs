// The site (scripts/site) served as a school serves it, for the browser
// tests: a static web server of the folder on 127.0.0.1, and what a browser
// keeps of it.

import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { dirname, extname, join, relative, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const SITE = process.env.LESSON_SITE_BUILD || join(ROOT, 'build-site');
export const FOLDER = '/school/lessons/';  // where on the server the school put it
const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.wasm': 'application/wasm', '.woff2': 'font/woff2' };

// A static web server of one folder at FOLDER, as a school's is: the files
// by their type, kept by browsers for ten minutes; it can be given another
// folder to serve, or stopped. Every request it gets is logged.
export async function serve(dir) {
  const log = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    log.push(path);
    let file = path.startsWith(FOLDER) ? join(server.dir, path.slice(FOLDER.length) || 'index.html') : null;
    if (file !== null && (relative(server.dir, file).startsWith('..') || !statSync(file, { throwIfNoEntry: false })?.isFile())) {
      file = null;
    }
    if (file === null) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { 'content-type': TYPES[extname(file)] ?? 'application/octet-stream',
                              'cache-control': 'max-age=600' });
    response.end(readFileSync(file));
  });
  server.dir = dir;
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  return {
    url: `http://127.0.0.1:${server.address().port}${FOLDER}`,
    log,
    serve(other) { server.dir = other; },
    async stop() {
      server.closeAllConnections();
      await new Promise((done) => server.close(done));
    },
  };
}

// The files of a folder, by their path in it, with their SHA-256; and the
// build that its service worker names.
export function folderFiles(dir) {
  const files = {};
  const walk = (at) => {
    for (const entry of readdirSync(at, { withFileTypes: true })) {
      const path = join(at, entry.name);
      if (entry.isDirectory()) walk(path);
      else files[relative(dir, path)] = createHash('sha256').update(readFileSync(path)).digest('hex');
    }
  };
  walk(dir);
  return files;
}

export function buildOf(dir) {
  return /const BUILD = '([0-9a-f]+)';/.exec(readFileSync(join(dir, 'sw.js'), 'utf8'))[1];
}

// In the page, an expression: once its service worker is active, the
// caches of the origin, by name, each with the SHA-256 of every response it
// keeps, by address; as lists in that order (engines list a cache's keys,
// and WebDriver an object's, in orders of their own).
export const KEPT = `(async () => {
  await navigator.serviceWorker.ready;
  const hex = (buffer) => [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, '0')).join('');
  const order = (a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0);
  const out = [];
  for (const name of await caches.keys()) {
    const cache = await caches.open(name);
    const files = [];
    for (const request of await cache.keys()) {
      const body = await (await cache.match(request)).arrayBuffer();
      files.push([request.url, hex(await crypto.subtle.digest('SHA-256', body))]);
    }
    out.push([name, files.sort(order)]);
  }
  return out.sort(order);
})()`;

// What a cache holding the whole folder looks like, by KEPT's measure.
export function wholeFolder(dir, url) {
  const files = Object.entries(folderFiles(dir)).filter(([path]) => path !== 'sw.js')
    .map(([path, hash]) => [url + path, hash]).sort((a, b) => (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0));
  return [[`lessons ${url} ${buildOf(dir)}`, files]];
}
