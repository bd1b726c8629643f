// The site (scripts/site) as a school publishes it: build-site/ served by a
// static web server on 127.0.0.1, under a folder of the server, opened in
// Debian's Chromium with a fresh profile each time: both programs
// installable as apps, kept by the service worker after one visit, opening
// and drawing the desktop's lesson with the server gone, and a new build
// replacing the kept one whole (and a folder copied over only in part
// replacing nothing).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import {
  DESKTOP, PAGE, PROGRAMS, assertSameTrace, desktop, fileUrl, idle, readPng, trace, withoutEmptyPolls,
} from './lib.mjs';
import { FOLDER, KEPT, SITE, buildOf, serve, wholeFolder } from './site.mjs';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const scratch = mkdtempSync(join(tmpdir(), 'lesson-site-'));
after(() => rmSync(scratch, { recursive: true, force: true }));

// Chromium with a profile of its own, as on a pupil's new machine; every
// request of every page is noted, and every script error.
async function freshBrowser() {
  const context = await chromium.launchPersistentContext(mkdtempSync(join(scratch, 'profile-')), {
    executablePath: '/usr/bin/chromium', headless: true, viewport: PAGE, deviceScaleFactor: 1,
  });
  context.requests = [];
  context.pageErrors = [];
  context.on('request', (request) => context.requests.push(request.url()));
  context.on('page', (page) => page.on('pageerror', (error) => context.pageErrors.push(error.message)));
  for (const page of context.pages()) page.on('pageerror', (error) => context.pageErrors.push(error.message));
  return context;
}

async function openPage(context) {
  return context.pages()[0] ?? context.newPage();
}

const kept = (page) => page.evaluate(KEPT);

async function waitKept(page, want, what) {
  const deadline = Date.now() + 30000;
  let got;
  for (;;) {
    got = await kept(page);
    if (JSON.stringify(got) === JSON.stringify(want)) return;
    if (Date.now() > deadline) break;
    await page.waitForTimeout(100);
  }
  assert.deepEqual(got, want, what);
}

// Waits until a new build of the service worker, if the server has one,
// has been installed and taken over, or has failed to install.
async function updated(page) {
  return page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update();
    const worker = registration.installing;
    if (!worker) return 'none';
    return new Promise((done) => {
      const settled = () => { if (worker.state === 'activated' || worker.state === 'redundant') done(worker.state); };
      worker.addEventListener('statechange', settled);
      settled();
    });
  });
}

// A seeded run of a program's page, as the desktop draws it.
const RUNS = { solvara: '5926\\n2\\n1\\n\\>\\>', ratiora: '5926\\n5\\n1\\n\\>' };

async function drawsTheDesktopsLesson(page, url, program) {
  const response = await page.goto(`${url}${program}.html?seed=3&keys=${encodeURIComponent(RUNS[program])}`);
  await idle(page);
  assertSameTrace(withoutEmptyPolls(await trace(page)), desktop(program, ['--seed', '3', '--keys', RUNS[program]]).trace,
                  `${program} from ${url}`);
  return response;
}

function pngAt(png, x, y) {
  const i = (y * png.width + x) * 4;
  return [...png.data.subarray(i, i + 4)];
}

test('each program page is an installable app, its icons the desktop icons\' drawing, and the single files stay without one', async () => {
  const server = await serve(SITE);
  const context = await freshBrowser();
  try {
    const page = await openPage(context);
    const cdp = await context.newCDPSession(page);
    for (const program of PROGRAMS) {
      await page.goto(`${server.url}${program}.html`);
      await idle(page);
      // Chromium's own check, as the browser runs it before it offers to install.
      assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, [], program);
      const { url, errors, data } = await cdp.send('Page.getAppManifest');
      assert.equal(url, `${server.url}${program}.webmanifest`);
      assert.deepEqual(errors, [], `${program}: the manifest as Chromium reads it`);
      const manifest = JSON.parse(data);
      assert.ok(['standalone', 'fullscreen'].includes(manifest.display), `${program}: display ${manifest.display}`);
      assert.equal(manifest.orientation, 'landscape');
      assert.equal(new URL(manifest.start_url, url).href, `${server.url}${program}.html`);
      // The icons, as the browser fetches them: 192 and 512 px, and a maskable
      // one whose drawing the platform's mask leaves whole; the touch icon
      // iPadOS puts on the home screen fills its square (iPadOS paints a
      // clear pixel black).
      const icons = {};
      for (const icon of manifest.icons) {
        const png = readPng(await (await page.request.get(new URL(icon.src, url).href)).body());
        assert.equal(`${png.width}x${png.height}`, icon.sizes, icon.src);
        icons[`${icon.purpose ?? 'any'} ${icon.sizes}`] = png;
      }
      assert.deepEqual(Object.keys(icons).sort(), ['any 192x192', 'any 512x512', 'maskable 512x512']);
      const maskable = icons['maskable 512x512'];
      const fill = pngAt(maskable, 0, 0);
      for (let y = 0; y < 512; ++y) {
        for (let x = 0; x < 512; ++x) {
          const p = pngAt(maskable, x, y);
          assert.equal(p[3], 255, `${program}: the maskable icon is opaque (${x},${y})`);
          if (Math.hypot(x + 0.5 - 256, y + 0.5 - 256) > 0.4 * 512) {
            assert.deepEqual(p, fill, `${program}: the maskable icon draws outside its safe circle at ${x},${y}`);
          }
        }
      }
      assert.ok(maskable.data.some((v, i) => i % 4 < 3 && v !== fill[i % 4]), `${program}: the maskable icon has a drawing`);
      const touch = await page.evaluate(() => document.querySelector('link[rel="apple-touch-icon"]').href);
      const touchPng = readPng(await (await page.request.get(touch)).body());
      assert.equal(`${touchPng.width}x${touchPng.height}`, '180x180');
      assert.ok(touchPng.data.every((v, i) => i % 4 !== 3 || v === 255), `${program}: the touch icon is opaque`);
      // The tile is the desktop's icon of the same size, from the same drawing.
      const desktopIcons = mkdtempSync(join(scratch, 'icons-'));
      execFileSync(join(DESKTOP, 'lesson_icons'), [desktopIcons, '192', '512']);
      for (const size of [192, 512]) {
        assert.ok(readFileSync(join(desktopIcons, `${size}x${size}/apps/${program}.png`))
          .equals(readFileSync(join(SITE, `icons/${program}-${size}.png`))), `${program}: the ${size} px icon is the desktop's`);
      }
    }
    // The single files, opened from file://, name no manifest and keep no
    // service worker: nothing for the browser to fetch or complain of.
    for (const program of PROGRAMS) {
      const single = await context.newPage();
      const complaints = [];
      single.on('console', (message) => { if (message.type() === 'error') complaints.push(message.text()); });
      await single.goto(fileUrl(program));
      await idle(single);
      assert.equal(await single.evaluate(() => document.querySelector('link[rel="manifest"], link[rel="apple-touch-icon"]')), null);
      assert.deepEqual(complaints, [], `${program} from file://`);
      await single.close();
    }
    assert.deepEqual(context.pageErrors, []);
  } finally {
    await context.close();
    await server.stop();
  }
});

test('after one visit the service worker keeps every file of the folder, and with the server gone both programs open and draw the desktop\'s lesson', async () => {
  const server = await serve(SITE);
  const context = await freshBrowser();
  try {
    const page = await openPage(context);
    // One visit, to one program.
    const first = await page.goto(`${server.url}solvara.html`);
    assert.equal(first.fromServiceWorker(), false);
    await idle(page);
    // The WebAssembly asked for once, by the page's first script, and
    // compiled from that one answer, not downloaded twice (as WebKit does a
    // preloaded file a script then fetches).
    assert.equal(await page.evaluate(() => performance.getEntriesByType('resource')
      .filter((entry) => entry.name.endsWith('/solvara.wasm')).length), 1);
    await waitKept(page, wholeFolder(SITE, server.url), 'the cache after the first visit');
    // The network gone: the server stopped and the browser offline.
    await server.stop();
    await context.setOffline(true);
    for (const program of PROGRAMS) {
      const response = await drawsTheDesktopsLesson(page, server.url, program);
      assert.equal(response.fromServiceWorker(), true, `${program} is served by the service worker`);
    }
    const start = await page.goto(server.url);
    assert.equal(start.fromServiceWorker(), true);
    assert.deepEqual(await page.locator('a[href]').evaluateAll((links) => links.map((a) => a.getAttribute('href'))),
                     ['solvara.html', 'ratiora.html']);
    await page.locator('a[href="ratiora.html"]').click();
    await page.waitForURL(`${server.url}ratiora.html`);
    await idle(page);
    assert.deepEqual(context.pageErrors, []);
    // Nothing asked of any other address, nor of the server beyond the folder.
    assert.deepEqual(context.requests.filter((url) => !url.startsWith(server.url) && !/^(data|blob):/.test(url)), []);
    assert.deepEqual(server.log.filter((path) => !path.startsWith(FOLDER)), []);
  } finally {
    await context.close();
    await server.stop();
  }
});

test('a new build with one changed file replaces the kept files whole at the next visit; a folder copied over only in part changes nothing', async () => {
  // The build as published, the next build (a new solvara.html), and the
  // next build copied over the first only in part: its service worker and
  // start page, the old programs.
  const firstBuild = join(scratch, 'first'), nextBuild = join(scratch, 'next'), partly = join(scratch, 'partly');
  cpSync(SITE, firstBuild, { recursive: true });
  cpSync(SITE, nextBuild, { recursive: true });
  const page1 = join(nextBuild, 'solvara.html');
  writeFileSync(page1, readFileSync(page1, 'utf8').replace('<head>\n', '<head>\n<meta name="lesson-build" content="next">\n'));
  execFileSync('/usr/bin/python3', [join(ROOT, 'hosts/web/site.py'), '--seal', nextBuild]);
  assert.notEqual(buildOf(nextBuild), buildOf(firstBuild));
  cpSync(firstBuild, partly, { recursive: true });
  for (const file of ['sw.js', 'index.html']) cpSync(join(nextBuild, file), join(partly, file));

  const server = await serve(firstBuild);
  const context = await freshBrowser();
  const buildShown = (page) => page.evaluate(() => document.querySelector('meta[name="lesson-build"]')?.content ?? 'first');
  try {
    const page = await openPage(context);
    await page.goto(`${server.url}solvara.html`);
    await idle(page);
    await waitKept(page, wholeFolder(firstBuild, server.url), 'the first build kept');

    server.serve(partly);
    await page.goto(`${server.url}solvara.html`);
    await idle(page);
    assert.equal(await updated(page), 'redundant', 'the new service worker of a folder copied in part does not install');
    assert.deepEqual(await kept(page), wholeFolder(firstBuild, server.url), 'the first build still kept whole');

    server.serve(nextBuild);
    await page.goto(`${server.url}solvara.html`);
    await idle(page);
    await updated(page);
    await waitKept(page, wholeFolder(nextBuild, server.url), 'the next build kept whole, the first one gone');

    await server.stop();
    await context.setOffline(true);
    const response = await drawsTheDesktopsLesson(page, server.url, 'solvara');
    assert.equal(response.fromServiceWorker(), true);
    assert.equal(await buildShown(page), 'next');
    assert.deepEqual(context.pageErrors, []);
  } finally {
    await context.close();
    await server.stop();
  }
});
