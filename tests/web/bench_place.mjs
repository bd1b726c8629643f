// The browser's figures of the place kept, in Chromium with a profile of its
// own, for scripts/bench:
//   node tests/web/bench_place.mjs PROGRAM VISIT [KEYS]
// a day of KEYS keys (100,000) of VISIT visits typed by a script into a plain
// opening (which keeps its place) and into one whose storage is refused
// (which keeps none): the difference spread over the keys is what keeping
// the place costs a key step; then the reload after them, to the page it
// stood at, waiting.

import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { PAGE, fileUrl, idle } from './lib.mjs';

const [program, visit, count = '100000'] = process.argv.slice(2);
let keys = '5926\\n';
while (keys.replace(/\\./g, '.').length < Number(count)) keys += visit;
const typed = keys.replace(/\\./g, '.').length;

const profile = mkdtempSync(join(tmpdir(), 'lesson-place-bench-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium', headless: true, viewport: PAGE, deviceScaleFactor: 1,
});
try {
  const typeAll = async (page) => {
    await page.goto(fileUrl(program));
    await idle(page);
    const start = Date.now();
    await page.evaluate((script) => window.lesson.keys(script), keys);
    await idle(page, 3600000);
    return Date.now() - start;
  };
  const refused = await context.newPage();
  await refused.addInitScript(() => {
    Storage.prototype.setItem = () => { throw new DOMException('refused', 'SecurityError'); };
  });
  const plain = await typeAll(refused);
  await refused.close();
  const page = await context.newPage();
  const kept = await typeAll(page);
  const start = Date.now();
  await page.reload();
  await idle(page);
  const reopening = Date.now() - start;
  console.log(`chromium: keeping the place costs ${((kept - plain) / typed).toFixed(3)} ms a key step (${typed} keys: ` +
              `${(kept / 1000).toFixed(1)} s kept, ${(plain / 1000).toFixed(1)} s not; target under 2 ms)`);
  console.log(`chromium: reopening after ${typed} keys stands where it stood in ${reopening} ms, the page loaded ` +
              `anew (target under 1 s)`);
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
