// Both programs' HTML files in Debian's Chromium, headless: the same lesson
// as the desktop's, key for key and pixel for pixel, typed on a real
// keyboard, and without a single request leaving the file.

import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import {
  PAGE, PROGRAMS, assertSameTrace, desktop, fileUrl, htmlFile, idle, inkApart, launch, menuSections, newPage, readPng, trace,
  withoutEmptyPolls,
} from './lib.mjs';

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser?.close(); });

test('a seeded walk through every section draws and reads what the desktop does, line for line', async (t) => {
  for (const program of PROGRAMS) {
    const sections = menuSections(program);
    assert.ok(sections.length >= 2, `${program}: the main menu lists its sections`);
    for (const section of sections) {
      await t.test(`${program} --walk ${section}`, async () => {
        const expected = desktop(program, ['--seed', '3', '--walk', String(section)]).trace;
        const page = await newPage(browser);
        await page.goto(fileUrl(program, { seed: 3, walk: section }));
        await idle(page);
        const got = await trace(page);
        await page.context().close();
        assert.deepEqual(page.pageErrors, []);
        assertSameTrace(got, expected, `${program} --walk ${section}`);
      });
    }
  }
});

test('the page in the browser puts its ink where the desktop screenshot does, within a pixel', async () => {
  // The balance (boxes, polylines, italic x) and a practice page (fractions, the step prompt).
  const cases = [['solvara', '5926\\n2\\n1\\nk'], ['ratiora', '5926\\n1\\n2\\nkkkk']];
  for (const [program, keys] of cases) {
    const shot = desktop(program, ['--seed', '3', '--keys', keys], { screenshot: true }).png;
    const page = await newPage(browser);
    await page.goto(fileUrl(program, { seed: 3, keys }));
    await idle(page);
    const box = await page.locator('#page').boundingBox();
    assert.deepEqual([box.width, box.height], [PAGE.width, PAGE.height]);
    const got = readPng(await page.locator('#page').screenshot());
    await page.context().close();
    const { first, second } = inkApart(shot, got);
    assert.ok(first.ink > 10000, `${program}: the page has ink (${first.ink} pixels)`);
    assert.deepEqual([first.apart, second.apart], [0, 0],
                     `${program}: desktop ink far from the browser's: ${first.apart} of ${first.ink} pixels; ` +
                     `browser ink far from the desktop's: ${second.apart} of ${second.ink}`);
  }
});

test('keys pressed on the keyboard pass the password gate, choose a section and step back', async () => {
  for (const program of PROGRAMS) {
    const page = await newPage(browser);
    await page.goto(fileUrl(program, { seed: 3 }));
    await idle(page);
    for (const key of ['5', '9', '2', '6', 'Enter', '2', 'Enter', 'PageUp']) {
      await page.keyboard.press(key);
      await idle(page);
    }
    const got = await trace(page);
    await page.context().close();
    assert.deepEqual(page.pageErrors, []);
    assertSameTrace(withoutEmptyPolls(got), desktop(program, ['--seed', '3', '--keys', '5926\\n2\\n\\<']).trace, program);
  }
});

test('no request leaves the file, from a web server or from file:// offline', async () => {
  for (const program of PROGRAMS) {
    const html = readFileSync(htmlFile(program));
    const server = createServer((request, response) => {
      response.writeHead(request.url.startsWith('/page.html') ? 200 : 404, { 'content-type': 'text/html' });
      response.end(request.url.startsWith('/page.html') ? html : '');
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    const served = `http://127.0.0.1:${server.address().port}/page.html`;
    try {
      for (const [url, offline] of [[served, false], [fileUrl(program), true]]) {
        const page = await newPage(browser);
        const others = [];
        await page.route('**', (route) => {
          const asked = route.request().url();
          if (asked === url) return route.continue();
          others.push(asked);
          return route.abort();
        });
        page.on('request', (request) => {
          const asked = request.url();
          if (asked !== url && !/^(data|blob):/.test(asked) && !others.includes(asked)) others.push(asked);
        });
        await page.context().setOffline(offline);
        await page.goto(url);
        await idle(page);
        // The program at work: the gate passed and a section's first page.
        await page.evaluate(() => window.lesson.keys('5926\\n1\\n1\\n'));
        await idle(page);
        await page.context().close();
        assert.deepEqual(others, [], `${program} from ${url}`);
        assert.deepEqual(page.pageErrors, []);
      }
    } finally {
      server.close();
    }
  }
});
