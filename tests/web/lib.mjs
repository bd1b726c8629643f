// What the browser tests share: Debian's Chromium driven headless, the two
// HTML files of the browser build, the desktop programs of the normal build,
// and the page's script interface (window.lesson).

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { PNG } from 'pngjs';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const DESKTOP = process.env.LESSON_BUILD || join(ROOT, 'build');
export const WEB = process.env.LESSON_WEB_BUILD || join(ROOT, 'build-web');
export const PROGRAMS = ['solvara', 'ratiora'];
export const PAGE = { width: 1344, height: 720 };

export function htmlFile(program) {
  return join(WEB, `${program}.html`);
}

// The file's URL with the query string of the headless options.
export function fileUrl(program, query = {}) {
  const url = pathToFileURL(htmlFile(program));
  for (const [name, value] of Object.entries(query)) url.searchParams.set(name, String(value));
  return url.href;
}

export async function launch() {
  return chromium.launch({ executablePath: '/usr/bin/chromium', headless: true });
}

// A page of the page's own size at one device pixel per pixel; any script
// error on it fails the test that reads pageErrors.
export async function newPage(browser, options = {}) {
  const context = await browser.newContext({ viewport: PAGE, deviceScaleFactor: 1, ...options });
  const page = await context.newPage();
  page.pageErrors = [];
  page.on('pageerror', (error) => page.pageErrors.push(error.message));
  return page;
}

// Waits until the program waits for a key with no scripted key left.
export async function idle(page, timeout = 60000) {
  await page.waitForFunction(() => window.lesson !== undefined && window.lesson.idle(), null, { timeout, polling: 20 });
}

export async function trace(page) {
  return page.evaluate(() => window.lesson.trace());
}

// The desktop program run headless: its trace as text, and the screenshot
// when asked for one.
export function desktop(program, args, { screenshot = false } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'lesson-web-'));
  try {
    const files = ['--trace', join(dir, 'trace.jsonl')];
    if (screenshot) files.push('--screenshot', join(dir, 'page.png'), '--size', `${PAGE.width}x${PAGE.height}`);
    execFileSync(join(DESKTOP, program), ['--headless', ...args, ...files], { stdio: 'inherit' });
    return {
      trace: readFileSync(join(dir, 'trace.jsonl'), 'utf8'),
      png: screenshot ? PNG.sync.read(readFileSync(join(dir, 'page.png'))) : null,
    };
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
}

export function lines(text) {
  return text.split('\n').filter((line) => line !== '');
}

// An entry field waiting for a key polls for one: each poll that finds none
// wipes the entry cursor and draws it again (a white circle, then the same
// circle in its colour). A run typed on a real keyboard has as many such polls
// as time passed; a scripted run has none.
export function withoutEmptyPolls(text) {
  const all = lines(text);
  const kept = [];
  for (let i = 0; i < all.length; ++i) {
    const wipe = all[i], redraw = all[i + 1];
    if (redraw !== undefined && wipe.startsWith('{"op":"circle"') && wipe.includes('"color":15,') &&
        !redraw.includes('"color":15,') && redraw.replace(/"color":\d+,/, '"color":15,') === wipe) {
      ++i;
      continue;
    }
    kept.push(wipe);
  }
  return kept.join('\n');
}

// Two traces equal line for line, or a failure naming the first difference.
export function assertSameTrace(got, expected, what) {
  const a = lines(got), b = lines(expected);
  const first = b.findIndex((line, i) => line !== a[i]);
  if (first === -1 && a.length === b.length) return;
  const at = first === -1 ? b.length : first;
  assert.fail(`${what}: the browser's trace (${a.length} lines) differs from the desktop's (${b.length} lines) ` +
              `first at line ${at + 1}:\n  desktop ${b[at] ?? '(end)'}\n  browser ${a[at] ?? '(end)'}`);
}

// The sections of a program's main menu as the desktop draws it: the items
// after the password, each a run of characters on one line (read left to
// right, a wide gap between two items) that begins with its number and a
// title; the item of the highest number ends the program.
export function menuSections(program) {
  const events = lines(desktop(program, ['--seed', '1', '--keys', '5926\\n']).trace).map((l) => JSON.parse(l));
  const drawn = events.slice(events.findLastIndex((e) => e.op === 'key') + 1).filter((e) => e.op === 'text');
  drawn.sort((a, b) => a.y - b.y || a.x - b.x);
  const items = [];
  let last = null;
  for (const e of drawn) {
    if (last === null || e.y !== last.y || e.x - last.x > 100) items.push('');
    items[items.length - 1] += e.text;
    last = e;
  }
  const numbered = items.map((text) => /^(\d+)\u3000(.*)$/.exec(text)).filter((m) => m !== null)
    .map((m) => ({ number: Number(m[1]), title: m[2].trim() })).sort((a, b) => a.number - b.number);
  return numbered.slice(0, -1).filter((item) => item.title !== '').map((item) => item.number);
}

// Ink: the pixels visibly off white (any channel below 192); a faint pixel
// (any channel below 240) is enough to answer for ink on the other side.
// Returns how many ink pixels of each image have no faint pixel of the other
// within one pixel.
export function inkApart(a, b) {
  const { width, height } = a;
  const darkness = (png, x, y) => {
    const i = (y * width + x) * 4;
    return 255 - Math.min(png.data[i], png.data[i + 1], png.data[i + 2]);
  };
  const near = (png, x, y) => {
    for (let dy = -1; dy <= 1; ++dy)
      for (let dx = -1; dx <= 1; ++dx) {
        const nx = x + dx, ny = y + dy;
        if (nx >= 0 && ny >= 0 && nx < width && ny < height && darkness(png, nx, ny) > 15) return true;
      }
    return false;
  };
  const apart = (one, other) => {
    let count = 0, ink = 0;
    for (let y = 0; y < height; ++y)
      for (let x = 0; x < width; ++x)
        if (darkness(one, x, y) > 63) {
          ++ink;
          if (!near(other, x, y)) ++count;
        }
    return { ink, apart: count };
  };
  return { first: apart(a, b), second: apart(b, a) };
}

export function readPng(buffer) {
  return PNG.sync.read(buffer);
}
