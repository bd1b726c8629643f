// The place kept in the browser's storage, in Chromium with a profile of its
// own: a reload stands where it stood and a back goes on from there; a
// second tab starts at the gate and leaves the first one's place alone; a
// garbled place starts at the gate and is set aside.

import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { chromium } from 'playwright-core';
import { PAGE, fileUrl, idle } from './lib.mjs';

const waitKind = (page) => page.evaluate(() => window.lesson.waitKind());
const shot = (page) => page.locator('#page').screenshot();

test('a reload stands where it stood, its back goes on from there; a second tab and a garbled place start at the gate', async () => {
  const profile = mkdtempSync(join(tmpdir(), 'lesson-place-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium', headless: true, viewport: PAGE, deviceScaleFactor: 1,
  });
  try {
    const page = context.pages()[0] || await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(fileUrl('solvara'));
    await idle(page);
    const gate = await shot(page);
    // The password, section 2, its third page (the clock's random problems).
    await page.evaluate(() => window.lesson.keys('5926\\n2\\n'));
    await idle(page);
    const subMenu = await shot(page);
    await page.evaluate(() => window.lesson.keys('3\\n'));
    await idle(page);
    const stood = await shot(page);
    const kind = await waitKind(page);

    await page.reload();
    await idle(page);
    assert.equal(await waitKind(page), kind, 'the reload stands at the wait it stood at, not at the gate');
    assert.ok((await shot(page)).equals(stood), 'the same page, to the pixel');

    // A second tab while the first runs: at the gate, the first's place left alone.
    const second = await context.newPage();
    await second.goto(fileUrl('solvara'));
    await idle(second);
    assert.equal(await waitKind(second), 'gate');
    await second.evaluate(() => window.lesson.keys('5926\\n1\\n'));
    await idle(second);
    await second.close();

    await page.evaluate(() => window.lesson.keys('\\<'));
    await idle(page);
    assert.ok((await shot(page)).equals(subMenu), 'a back goes to the sub-menu as it stood');
    await page.reload();
    await idle(page);
    assert.equal(await waitKind(page), 'submenu', 'the back is kept');
    assert.ok((await shot(page)).equals(subMenu));

    // A garbled place: the gate, as a first opening, and the place set aside.
    await page.evaluate(() => {
      for (let i = 0; i < localStorage.length; ++i) {
        const key = localStorage.key(i);
        if (key.endsWith('/head')) localStorage.setItem(key, 'not a place' + '\u0007'.repeat(40));
      }
    });
    await page.reload();
    await idle(page);
    assert.equal(await waitKind(page), 'gate');
    assert.ok((await shot(page)).equals(gate), 'the gate as at a first opening');
    const aside = await page.evaluate(() => Object.keys(localStorage).filter((key) => key.endsWith('#unreadable')).length);
    assert.equal(aside, 1, 'the garbled place is set aside');
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  }
});
