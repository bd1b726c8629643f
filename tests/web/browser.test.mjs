// Both programs' HTML files in Debian's Chromium, headless: the same lesson
// as the desktop's, key for key and pixel for pixel, typed on a real
// keyboard, and without a single request leaving the file.

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createServer } from 'node:http';
import { join } from 'node:path';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import {
  DESKTOP, PAGE, PROGRAMS, assertSameTrace, desktop, fileUrl, htmlFile, idle, inkApart, launch, lines, menuSections, newPage, readPng,
  trace,
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
        // Past the walk the page waits for the teacher, and its entry field
        // polls for a key: those polls, and nothing else, may follow.
        const walked = lines(expected).length;
        assertSameTrace(lines(got).slice(0, walked).join('\n'), expected, `${program} --walk ${section}`);
        assert.equal(withoutEmptyPolls(lines(got).slice(walked).join('\n')), '',
                     `${program} --walk ${section}: only the entry field's polls follow the walk`);
      });
    }
  }
});

test('the page in the browser puts its ink where the desktop screenshot does, within a pixel', async () => {
  // The balance (boxes, polylines, italic x), a practice page (fractions, the
  // step prompt), and a teacher's pens on a page (every pen, the marker over
  // text, a dot, an eraser, undo, a back, the lesson drawing under the ink),
  // whose trace is the desktop's too.
  const pens = '\\~r:700,300 900,260 1100,300;\\~m:150,40 800,40;\\~k:1000,500;\\~b:-50,450 1400,450;';
  const more = 'k\\~r:120,193 260,193;\\~e:600,430 600,470;\\~u;\\~e:600,430 600,470;k\\~c;\\~u;';
  const cases = [['solvara', '5926\\n2\\n1\\nk'], ['ratiora', '5926\\n1\\n2\\nkkkk'],
    ['solvara', `5926\\n1\\n1\\n${pens}${more}\\<${more}`]];
  for (const [program, keys] of cases) {
    const { png: shot, trace: expected } = desktop(program, ['--seed', '3', '--keys', keys], { screenshot: true });
    const page = await newPage(browser);
    await page.goto(fileUrl(program, { seed: 3, keys }));
    await idle(page);
    if (keys.includes('\\~')) {
      assert.ok(lines(expected).filter((l) => l.startsWith('{"op":"ink"')).length >= 10, 'the ink is traced');
      assertSameTrace(await trace(page), expected, `${program} with ink`);
    }
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

test('keys pressed on the keyboard pass the password gate, choose a page, go on and step back as a remote does', async () => {
  for (const program of PROGRAMS) {
    const page = await newPage(browser);
    await page.goto(fileUrl(program, { seed: 3 }));
    await idle(page);
    for (const key of ['5', '9', '2', '6', 'Enter', '2', 'Enter', '1', 'Enter', 'ArrowDown', 'ArrowUp', 'PageUp']) {
      await page.keyboard.press(key);
      await idle(page);
    }
    const got = await trace(page);
    await page.context().close();
    assert.deepEqual(page.pageErrors, []);
    assertSameTrace(withoutEmptyPolls(got), desktop(program, ['--seed', '3', '--keys', '5926\\n2\\n1\\n\\>\\<\\<']).trace, program);
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

test('in an older browser (no DecompressionStream, no Uint8Array.fromBase64) the page inflates its program itself and runs it the same', async () => {
  for (const program of PROGRAMS) {
    const traces = [];
    for (const current of [true, false]) {
      const page = await newPage(browser);
      if (!current) {
        await page.addInitScript(() => {
          delete window.DecompressionStream;
          delete Uint8Array.fromBase64;
        });
      }
      await page.goto(fileUrl(program, { seed: 3, keys: '5926\\n1\\n' }));
      await idle(page);
      traces.push(withoutEmptyPolls(await trace(page)));
      assert.equal(await page.evaluate(() => typeof DecompressionStream + typeof Uint8Array.fromBase64),
                   current ? 'functionfunction' : 'undefinedundefined');
      await page.context().close();
      assert.deepEqual(page.pageErrors, []);
    }
    assert.ok(lines(traces[0]).length > 100, `${program}: the program drew its pages`);
    assertSameTrace(traces[1], traces[0], `${program} in an older browser`);
  }
});

// Where the desktop draws the main menu's second row and the first and third
// items of section 2's sub-menu line: the places a finger or the mouse goes
// for them.
function placesOfChoices(program) {
  const menu = lines(desktop(program, ['--seed', '3', '--keys', '5926\\n']).trace).map((l) => JSON.parse(l));
  const row = menu.find((e) => e.op === 'formula' && e.text.startsWith('2\u3000'));
  const section = lines(desktop(program, ['--seed', '3', '--keys', '5926\\n2\\n']).trace).map((l) => JSON.parse(l));
  const item = (circled) => {
    const e = section.findLast((d) => d.op === 'text' && d.text === circled && d.y === 666);
    return { x: e.x + 8, y: e.y + 8 };
  };
  return { row: { x: row.x + 30, y: row.y + 8 }, first: item('\u2460'), item: item('\u2462') };
}

const tapScript = (p) => `\\@${p.x},${p.y};`;

test('mouse clicks choose a menu row and a sub-menu item, go on and go back, as taps do on the desktop', async () => {
  const program = 'solvara';
  const { row, item } = placesOfChoices(program);
  const page = await newPage(browser);
  await page.goto(fileUrl(program, { seed: 3, keys: '5926\\n' }));
  await idle(page);
  const anywhere = { x: 672, y: 360 };
  for (const p of [row, item, anywhere]) {
    await page.mouse.click(p.x, p.y);
    await idle(page);
  }
  await page.mouse.click(anywhere.x, anywhere.y, { button: 'right' });
  await idle(page);
  assert.equal(await page.locator('#pad').isVisible(), false, 'with a mouse alone there is no pad');
  const got = await trace(page);
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  const keys = '5926\\n' + tapScript(row) + tapScript(item) + tapScript(anywhere) + '\\<';
  assertSameTrace(withoutEmptyPolls(got), desktop(program, ['--seed', '3', '--keys', keys]).trace, program);
});

test('on a touch screen taps choose as clicks do, and the number pad types the password until a key is typed', async () => {
  const program = 'ratiora';
  const { row } = placesOfChoices(program);
  // Taller than the page: the pad stands in the margin below it.
  const page = await newPage(browser, { hasTouch: true, viewport: { width: PAGE.width, height: 900 } });
  await page.goto(fileUrl(program, { seed: 3 }));
  await idle(page);
  const top = (await page.locator('#page').boundingBox()).y;
  const pad = page.locator('#pad');
  assert.equal(await pad.isVisible(), true, 'the pad stands ready before any touch');
  await page.touchscreen.tap(100, top + 10);  // nothing at the gate
  await idle(page);
  const keys = await pad.locator('button').evaluateAll((buttons) => buttons.map((b) => b.dataset.key));
  assert.deepEqual([...keys].sort(), ['-', '.', '/', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '\\b', '\\n'].sort());
  const padBox = await pad.boundingBox();
  assert.ok(padBox.y >= top + PAGE.height, 'the pad stands below the page');
  for (const key of ['5', '9', '2', '6', '\\n']) {
    const box = await pad.locator(`button[data-key="${key.replace('\\', '\\\\')}"]`).boundingBox();
    await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
    await idle(page);
  }
  assert.equal(await page.evaluate(() => window.lesson.waitKind()), 'menu');
  await page.touchscreen.tap(row.x, top + row.y);
  await idle(page);
  assert.equal(await page.evaluate(() => window.lesson.waitKind()), 'submenu');
  assert.equal(await pad.isVisible(), true);
  await page.keyboard.press('3');
  assert.equal(await pad.isVisible(), false);
  await page.keyboard.press('Enter');
  await idle(page);
  const got = await trace(page);
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  const script = tapScript({ x: 100, y: 10 }) + '5926\\n' + tapScript(row) + '3\\n';
  assertSameTrace(withoutEmptyPolls(got), desktop(program, ['--seed', '3', '--keys', script]).trace, program);
});

// A finger put down and lifted again through the browser's touch input, and
// the canvas's box and the pad's buttons (those shown) on the screen.
async function finger(page) {
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  return { down: (p) => touch('touchStart', [p]), up: () => touch('touchEnd', []) };
}

function padAndPage(page) {
  return page.evaluate(() => {
    const box = (el) => (({ x, y, width, height }) => ({ x, y, width, height }))(el.getBoundingClientRect());
    const pad = document.getElementById('pad');
    return { canvas: box(document.getElementById('page')),
      buttons: getComputedStyle(pad).display === 'none' ? [] :
        [...pad.children].map((b) => ({ ...box(b), key: b.dataset.key })) };
  });
}

const onScreen = (box, p) => ({ x: box.x + p.x * box.width / PAGE.width, y: box.y + p.y * box.height / PAGE.height });
// What a trace draws: without the keys and taps read and the entry field's polls.
const drawn = (text) => lines(withoutEmptyPolls(text)).filter((l) => !/^\{"op":"(key|tap)"/.test(l)).join('\n');

test('on a touch screen the pad stands ready from the gate on, and every touch is read on the page it came down on', async () => {
  const program = 'solvara';
  const { first } = placesOfChoices(program);
  const blank = { x: 672, y: 500 };  // nothing to choose there
  // Touched: ① of section 2's sub-menu, then back on the keyboard, then a blank spot.
  const expected = drawn(desktop(program, ['--seed', '3', '--keys', '5926\\n2\\n1\\n\\<']).trace);
  for (const [width, height, isMobile] of [[1366, 768, false], [1920, 1080, false], [1180, 820, true], [1024, 768, true],
    [800, 600, false]]) {
    const what = `${width} x ${height}`;
    const page = await newPage(browser, { hasTouch: true, isMobile, viewport: { width, height } });
    await page.goto(fileUrl(program, { seed: 3 }));
    await idle(page);
    // Before any touch the pad stands ready at the gate, beside the page.
    const gate = await padAndPage(page), c = gate.canvas;
    assert.equal(gate.buttons.length, 15, `${what}: the pad at the gate`);
    for (const b of gate.buttons) {
      assert.ok(b.width >= 44 && b.height >= 44 && b.x >= 0 && b.y >= 0 && b.x + b.width <= width &&
                b.y + b.height <= height, `${what}: a button a finger can hit: ${JSON.stringify(b)}`);
      assert.ok(b.x >= c.x + c.width || b.y >= c.y + c.height || b.x + b.width <= c.x || b.y + b.height <= c.y,
                `${what}: a button beside the page, not over it`);
    }
    // Read row by row, left to right, the digits count up (0 after 9).
    const rows = {};
    for (const b of gate.buttons) (rows[Math.round(b.y)] ??= []).push(b);
    const digits = Object.values(rows).map((row) => row.sort((a, b) => a.x - b.x).map((b) => b.key)
      .filter((k) => /^\d$/.test(k)).map((k) => Number(k) || 10));
    assert.ok(digits.every((row) => row.every((d, i) => i === 0 || d > row[i - 1])), `${what}: ${JSON.stringify(digits)}`);
    await page.evaluate(() => window.lesson.keys('5926\\n2\\n'));
    await idle(page);
    // The session's first touch, on ①: the page holds still under it.
    const touch = await finger(page);
    await touch.down(onScreen(c, first));
    assert.deepEqual((await padAndPage(page)).canvas, c, `${what}: the page under the first touch`);
    await touch.up();
    await idle(page);
    assert.deepEqual((await padAndPage(page)).canvas, c, `${what}: the page after the first touch`);
    // A key on the keyboard puts the pad away, and the page is whole.
    await page.keyboard.press('PageUp');
    await idle(page);
    const typed = await padAndPage(page), scale = Math.min(width / PAGE.width, height / PAGE.height);
    assert.equal(typed.buttons.length, 0, `${what}: the pad put away`);
    assert.ok(Math.abs(typed.canvas.width - PAGE.width * scale) < 0.5, `${what}: the page whole again`);
    // A touch brings it back; the page holds still while the finger is down.
    await touch.down(onScreen(typed.canvas, blank));
    assert.deepEqual((await padAndPage(page)).canvas, typed.canvas, `${what}: the page under the touch`);
    await touch.up();
    await idle(page);
    assert.deepEqual(await padAndPage(page), gate, `${what}: the pad back, the page as it stood with it`);
    const got = await trace(page);
    await page.context().close();
    assert.deepEqual(page.pageErrors, []);
    // Each touch was read where the finger came down, and ① chose as typing 1 and Enter does.
    const taps = lines(got).map((l) => JSON.parse(l)).filter((e) => e.op === 'tap');
    assert.deepEqual(taps.map((t, i) => Math.hypot(t.x - [first, blank][i].x, t.y - [first, blank][i].y) < 0.5),
                     [true, true], `${what}: touches read at ${JSON.stringify(taps)}`);
    assertSameTrace(drawn(got), expected, what);
  }
});

test('a double tap goes on two steps and leaves the screen as it is; a double-click asks for full screen', async () => {
  const keys = '5926\\n2\\n1\\n';
  // Taller than the page: it stands whole, with room for the pad below.
  const page = await newPage(browser, { hasTouch: true, viewport: { width: PAGE.width, height: 900 } });
  await page.goto(fileUrl('solvara', { seed: 3, keys }));
  await idle(page);
  const top = (await page.locator('#page').boundingBox()).y;
  await page.touchscreen.tap(600, top + 300);
  await page.touchscreen.tap(600, top + 300);
  await idle(page);
  await page.waitForTimeout(300);
  assert.equal(await page.evaluate(() => document.fullscreenElement), null);
  const got = await trace(page);
  await page.mouse.dblclick(600, top + 300);
  await page.waitForFunction(() => document.fullscreenElement !== null, null, { timeout: 5000 });
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  const tap = tapScript({ x: 600, y: 300 });
  assertSameTrace(withoutEmptyPolls(got), desktop('solvara', ['--seed', '3', '--keys', keys + tap + tap]).trace, 'solvara');
});

test('the ink the page measures for a glyph holds every pixel the glyph draws, in each face', async () => {
  // A glyph a box covers wholly by this measure leaves the page: measured too
  // small, a glyph still partly seen would be lost when the page is drawn again.
  const page = await newPage(browser);
  await page.goto(fileUrl('solvara', { seed: 3 }));
  await idle(page);
  const outside = await page.evaluate(() => {
    const EM = 100, X = 150, Y = 200, out = [];
    const canvas = document.createElement('canvas');
    canvas.width = 400;
    canvas.height = 300;
    const ctx = canvas.getContext('2d', { willReadFrequently: true });
    const faces = [['Lesson Gothic', 0, 0], ['Lesson Gothic', 1, 0], ['Lesson Serif', 0, 1], ['Lesson Serif', 1, 1],
      ['Lesson Sans', 0, 0]];
    for (const [family, bold, italic] of faces) {
      for (const ch of '入力円×？（）＝0123456789xyfgjQ(),.=+-/\u2113') {
        const ink = Module.page.ink(family, bold, italic, ch.codePointAt(0));
        ctx.clearRect(0, 0, canvas.width, canvas.height);
        ctx.font = (italic ? 'italic ' : '') + (bold ? 'bold ' : '') + EM + 'px "' + family + '"';
        ctx.fillText(ch, X, Y);
        const { data } = ctx.getImageData(0, 0, canvas.width, canvas.height);
        for (let i = 3; i < data.length; i += 4) {
          if (data[i] === 0) continue;
          const x = ((i - 3) / 4) % canvas.width, y = Math.floor((i - 3) / 4 / canvas.width);
          // A pixel of ink lies within the measured box, a pixel of fringe around it allowed.
          if (x + 1 < X + ink[0] * EM - 1 || x > X + ink[2] * EM + 1 || y + 1 < Y + ink[1] * EM - 1 || y > Y + ink[3] * EM + 1) {
            out.push(`${family} ${bold ? 'bold ' : ''}${italic ? 'italic ' : ''}"${ch}": a pixel at ${x - X},${y - Y}, ` +
                     `measured ${ink.map((v) => Math.round(v * EM)).join(',')}`);
            break;
          }
        }
      }
    }
    return out;
  });
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  assert.deepEqual(outside, []);
});


test('a teacher\'s plain opening keeps no trace, nor one with trace=0; one with a trace in its query keeps it', async () => {
  for (const [query, kept] of [[{}, false], [{ trace: 0 }, false], [{ trace: 1 }, true]]) {
    const page = await newPage(browser);
    await page.goto(fileUrl('solvara', query));
    await idle(page);
    for (const key of ['5', '9', '2', '6', 'Enter', '2', 'Enter']) {
      await page.keyboard.press(key);
      await idle(page);
    }
    const [kind, got] = await page.evaluate(() => [window.lesson.waitKind(), window.lesson.trace()]);
    await page.context().close();
    assert.deepEqual(page.pageErrors, []);
    assert.equal(kind, 'submenu', 'the keys went through');
    assert.equal(lines(got).length > 100, kept, `${JSON.stringify(query)}: ${lines(got).length} trace lines`);
  }
});

test('a program that stops on an error (a wrong option in the address) says so over the page in the desktop\'s line', async () => {
  const run = spawnSync(join(DESKTOP, 'solvara'), ['--headless', '--seed', 'abc'], { encoding: 'utf8' });
  assert.equal(run.status, 2);
  const page = await newPage(browser);
  await page.goto(fileUrl('solvara', { seed: 'abc' }));
  await idle(page);
  const failure = page.locator('#failure');
  assert.equal(await failure.isVisible(), true);
  assert.equal(await failure.textContent(), run.stderr.trim());
  const [box, canvas] = [await failure.boundingBox(), await page.locator('#page').boundingBox()];
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  // One line is some 41 px high with its padding, two some 65.
  assert.ok(box.height < 55 && box.y < canvas.y + canvas.height && box.y + box.height > canvas.y, `one line over the page: ${JSON.stringify(box)}`);
});

test('on a touch screen two fingers zoom and move the page without reading a key, a tap on the zoomed sub-menu chooses, and the toolbar stands beside the page', async () => {
  const program = 'solvara';
  const { item } = placesOfChoices(program);  // ③ of section 2's sub-menu line
  const keys = '5926\\n2\\n';
  const [width, height] = [1180, 820];
  const page = await newPage(browser, { hasTouch: true, viewport: { width, height } });
  await page.goto(fileUrl(program, { seed: 3, keys }));
  await idle(page);
  const box = await page.locator('#page').boundingBox();
  // The toolbar: every tool, named in Japanese, buttons a finger hits, beside the page and not over it.
  const tools = await page.locator('#toolbar button').evaluateAll((buttons) => buttons.map((b) => {
    const r = b.getBoundingClientRect();
    return { tool: b.dataset.tool, label: b.getAttribute('aria-label'), title: b.title, x: r.x, y: r.y, w: r.width, h: r.height };
  }));
  for (const tool of ['back', 'forward', 'zoom-in', 'zoom-out', 'whole-page', 'full-screen']) {
    assert.ok(tools.some((t) => t.tool === tool), `the toolbar has ${tool}`);
  }
  for (const t of tools) {
    assert.ok(/[\u3040-\u30ff\u4e00-\u9fff]/.test(t.label) && t.title === t.label, `${t.tool}: named in Japanese`);
    assert.ok(t.w >= 44 && t.h >= 44 && t.x + t.w <= width && t.y + t.h <= height, `${t.tool}: ${JSON.stringify(t)}`);
    assert.ok(t.x >= box.x + box.width || t.y >= box.y + box.height || t.x + t.w <= box.x || t.y + t.h <= box.y,
              `${t.tool}: beside the page, not over it`);
  }
  const whole = readPng(await page.locator('#page').screenshot());
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  const view = () => page.evaluate(() => window.lesson.view());
  const shown = (v, p) => ({ x: box.x + (p.x - v.x) * box.width / v.width, y: box.y + (p.y - v.y) * box.height / v.height });
  // Two fingers spread about ③: the page grows about it, step by step as they move.
  const pinch = async (at, from, to) => {
    await touch('touchStart', [{ x: at.x - from, y: at.y, id: 1 }, { x: at.x + from, y: at.y, id: 2 }]);
    for (let d = from; d <= to; d += 20) {
      await touch('touchMove', [{ x: at.x - d, y: at.y, id: 1 }, { x: at.x + d, y: at.y, id: 2 }]);
    }
    await touch('touchEnd', []);
    await idle(page);
  };
  const before = lines(withoutEmptyPolls(await trace(page))).length;
  await pinch(shown(await view(), item), 30, 130);
  const zoomed = await view();
  assert.ok(zoomed.width <= PAGE.width / 3 && Math.abs(zoomed.width / zoomed.height - PAGE.width / PAGE.height) < 1e-6,
            `magnified: ${JSON.stringify(zoomed)}`);
  const still = shown(zoomed, item);
  assert.ok(Math.abs(still.x - shown({ x: 0, y: 0, width: PAGE.width, height: PAGE.height }, item).x) < 30,
            'the point between the fingers stays between them');
  assert.notDeepEqual(readPng(await page.locator('#page').screenshot()).data, whole.data);
  // One finger across the zoomed page moves it and turns no page.
  await touch('touchStart', [{ x: still.x, y: still.y - 100, id: 3 }]);
  for (let d = 20; d <= 200; d += 20) await touch('touchMove', [{ x: still.x - d, y: still.y - 100, id: 3 }]);
  await touch('touchEnd', []);
  await idle(page);
  const moved = await view();
  assert.ok(moved.x > zoomed.x && moved.width === zoomed.width, `moved: ${JSON.stringify(moved)}`);
  assert.equal(lines(withoutEmptyPolls(await trace(page))).length, before, 'a pinch and a drag read no key');
  // The whole page again (Ctrl+0), pixel for pixel as it stood.
  await page.keyboard.down('Control');
  await page.keyboard.press('0');
  await page.keyboard.up('Control');
  await idle(page);
  assert.deepEqual(await view(), { x: 0, y: 0, width: PAGE.width, height: PAGE.height });
  assert.ok(readPng(await page.locator('#page').screenshot()).data.equals(whole.data), 'the whole page, pixel for pixel');
  // Zoomed again, a tap on ③ where it now stands chooses it; the page's
  // steps keep the view; the toolbar's back goes back to the sub-menu, which
  // opens on the whole page.
  await pinch(shown(await view(), item), 30, 90);
  const v = await view();
  assert.ok(v.width < PAGE.width / 2);
  const at = shown(v, item);
  await touch('touchStart', [{ x: at.x, y: at.y, id: 4 }]);
  await touch('touchEnd', []);
  await idle(page);
  assert.notEqual(await page.evaluate(() => window.lesson.waitKind()), 'submenu', 'the tap chose ③');
  assert.deepEqual(await view(), v, 'the view stays on the page chosen');
  const back = await page.locator('#toolbar button[data-tool="back"]').boundingBox();
  await touch('touchStart', [{ x: back.x + back.width / 2, y: back.y + back.height / 2, id: 5 }]);
  await touch('touchEnd', []);
  await idle(page);
  assert.equal(await page.evaluate(() => window.lesson.waitKind()), 'submenu');
  assert.deepEqual(await view(), { x: 0, y: 0, width: PAGE.width, height: PAGE.height }, 'the sub-menu on the whole page');
  const got = await trace(page);
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  assertSameTrace(withoutEmptyPolls(got), desktop(program, ['--seed', '3', '--keys', keys + tapScript(item) + '\\<']).trace,
                  program);
});

test('a stylus always draws and a finger draws with a pen in hand, the stroke shown at once, kept as ink in the trace the desktop draws, and never a key', async () => {
  const program = 'solvara';
  const keys = '5926\\n2\\n1\\n';
  const page = await newPage(browser, { hasTouch: true, viewport: { width: 1180, height: 820 } });
  await page.goto(fileUrl(program, { seed: 3, keys }));
  await idle(page);
  const box = await page.locator('#page').boundingBox();
  const at = (p) => ({ x: box.x + p.x * box.width / PAGE.width, y: box.y + p.y * box.height / PAGE.height });
  const cdp = await page.context().newCDPSession(page);
  const shot = async () => readPng(await page.locator('#page').screenshot());
  // The share of a page strip's pixels in the ink's colour (red: R high, G and B low).
  const red = (png, y0, y1) => {
    let n = 0, all = 0;
    const top = Math.round(y0 * png.height / PAGE.height), bottom = Math.round(y1 * png.height / PAGE.height);
    for (let y = top; y < bottom; ++y) {
      for (let x = 0; x < png.width; ++x) {
        const i = (y * png.width + x) * 4;
        all += 1;
        if (png.data[i] > 200 && png.data[i + 1] < 140 && png.data[i + 2] < 80) n += 1;
      }
    }
    return n / all;
  };
  // A stylus across the page (the hand in hand): a red stroke, shown while the pen is still down.
  const stylus = [{ x: 200, y: 500 }, { x: 400, y: 520 }, { x: 600, y: 540 }];
  const pen = (type, p) => cdp.send('Input.dispatchMouseEvent', { type, ...at(p), button: 'left', buttons: type === 'mouseReleased' ? 0 : 1,
    clickCount: 1, pointerType: 'pen' });
  await pen('mousePressed', stylus[0]);
  await pen('mouseMoved', stylus[1]);
  await pen('mouseMoved', stylus[2]);
  assert.ok(red(await shot(), 490, 550) > 0.002, 'the stroke shows under the pen before it lifts');
  await pen('mouseReleased', stylus[2]);
  await idle(page);
  assert.equal(await page.evaluate(() => window.lesson.waitKind()), 'anykey', 'a stroke turns no page');
  // A finger with the blue pen in hand draws a dot where it taps; two fingers still pinch.
  const tap = async (p) => {
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ ...at(p), id: 1 }] });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await idle(page);
  };
  const tool = async (name) => {
    const b = await page.locator(`#toolbar button[data-tool="${name}"]`).boundingBox();
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x: b.x + b.width / 2, y: b.y + b.height / 2, id: 9 }] });
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    await idle(page);
  };
  await tool('pen-blue');
  assert.equal(await page.locator('#toolbar button[data-tool="pen-blue"]').getAttribute('aria-pressed'), 'true');
  await tap({ x: 700, y: 450 });
  await tool('undo-ink');
  await tap({ x: 720, y: 460 });
  await tool('hand');
  await tap({ x: 672, y: 300 });  // the hand: a tap goes on again
  const got = await trace(page);
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);
  const inks = lines(got).map((l) => JSON.parse(l)).filter((e) => e.op === 'ink');
  assert.deepEqual(inks.map((e) => e.pen), ['r', 'b', 'u', 'b']);
  const script = `\\~r:${stylus.map((p) => `${p.x},${p.y}`).join(' ')};\\~b:700,450;\\~u;\\~b:720,460;${tapScript({ x: 672, y: 300 })}`;
  const expected = desktop(program, ['--seed', '3', '--keys', keys + script]).trace;
  // Each point is read where the pen was, within a hundredth of a unit, as the desktop reads the script.
  const near = (a, b) => a.length === b.length && a.every((p, i) => Math.abs(p[0] - b[i][0]) < 0.02 && Math.abs(p[1] - b[i][1]) < 0.02);
  const desktopInks = lines(expected).map((l) => JSON.parse(l)).filter((e) => e.op === 'ink');
  assert.ok(inks.every((e, i) => e.pen === desktopInks[i].pen && near(e.points || [], desktopInks[i].points || [])),
            `${JSON.stringify(inks)} vs ${JSON.stringify(desktopInks)}`);
  const drawnOnly = (text) => lines(withoutEmptyPolls(text)).filter((l) => !/^\{"op":"(key|tap|ink)"/.test(l)).join('\n');
  assertSameTrace(drawnOnly(got), drawnOnly(expected), program);
});

test('a scheme from the address or remembered, each step in the live region, and read aloud in a Japanese voice', async () => {
  // A speech synthesis of the page's own, with the voices given, that keeps what it is told to say.
  const speech = (langs) => {
    const voices = langs.map((lang) => ({ lang, name: lang, default: false, localService: true, voiceURI: lang }));
    window.heard = [];
    Object.defineProperty(window, 'speechSynthesis', {
      value: { getVoices: () => voices, speak: (u) => window.heard.push(u), cancel() {}, addEventListener() {} },
    });
    window.SpeechSynthesisUtterance = class { constructor(text) { this.text = text; } };
  };
  const keys = '5926\\n4\\n1\\nk';
  const step = '左辺の マイナス 15が プラス 15となって右辺に移った。';
  const page = await newPage(browser);
  await page.addInitScript(speech, ['en-US', 'ja-JP']);
  await page.goto(fileUrl('solvara', { seed: 3, keys, scheme: 'dark' }));
  await idle(page);
  // A view: the desktop's trace, on a dark ground.
  assertSameTrace(withoutEmptyPolls(await trace(page)), desktop('solvara', ['--seed', '3', '--keys', keys]).trace, 'dark');
  const shot = readPng(await page.locator('#page').screenshot());
  const at = (x, y) => [...shot.data.subarray((y * shot.width + x) * 4, (y * shot.width + x) * 4 + 3)];
  assert.deepEqual(at(1300, 20), [0, 0, 0], 'the dark scheme draws a black ground');
  // Each step in the live region, the page's whole text as the canvas's label.
  const seen = await page.evaluate(() => {
    const live = document.querySelector('[aria-live="polite"]');
    const canvas = document.getElementById('page');
    return { spoken: window.lesson.spoken(), live: live && live.textContent, role: canvas.getAttribute('role'),
             label: canvas.getAttribute('aria-label') };
  });
  assert.deepEqual([seen.spoken, seen.live, seen.role], [step, step, 'img']);
  assert.ok(seen.label.includes('4エックス マイナス 15 イコール 9') && seen.label.endsWith(step), seen.label);
  // Read aloud, from the toolbar's button (shown while the mouse moves): the
  // step at once, then each new one as it comes, in Japanese.
  const tool = async (p, name) => {
    await p.mouse.move(600, 300);
    await p.locator(`#toolbar button[data-tool="${name}"]`).click();
  };
  await tool(page, 'read-aloud');
  assert.equal(await page.locator('#toolbar button[data-tool="read-aloud"]').getAttribute('aria-pressed'), 'true');
  await page.evaluate(() => window.lesson.keys('k'));
  await idle(page);
  const heard = await page.evaluate(() => window.heard.map((u) => [u.text, u.lang, u.voice.lang]));
  assert.deepEqual(heard.map((h) => h[0]).slice(0, 1), [step]);
  assert.ok(heard.length === 2 && heard[1][0].startsWith('<移項>'), JSON.stringify(heard));
  assert.ok(heard.every((h) => h[1] === 'ja-JP' && h[2] === 'ja-JP'), JSON.stringify(heard));
  // The toolbar's next scheme is remembered for a plain opening, not for a prepared run.
  await tool(page, 'scheme');
  await idle(page);
  assert.equal(await page.evaluate(() => window.lesson.scheme()), 'yellow');
  const plain = await page.context().newPage();
  await plain.goto(fileUrl('solvara'));
  await idle(plain);
  assert.equal(await plain.evaluate(() => window.lesson.scheme()), 'yellow');
  await plain.goto(fileUrl('solvara', { seed: 3 }));
  await idle(plain);
  assert.equal(await plain.evaluate(() => window.lesson.scheme()), 'normal');
  await page.context().close();
  assert.deepEqual(page.pageErrors, []);

  // An unknown scheme opens in the normal one, told on the console; without
  // a Japanese voice reading stays off.
  const other = await newPage(browser);
  const console = [];
  other.on('console', (message) => console.push(message.text()));
  await other.addInitScript(speech, ['en-US']);
  await other.goto(fileUrl('ratiora', { scheme: 'sepia' }));
  await idle(other);
  assert.equal(await other.evaluate(() => window.lesson.scheme()), 'normal');
  assert.ok(console.some((line) => line.includes('sepia') && line.includes('normal, dark, yellow, chalk')), console.join('\n'));
  await tool(other, 'read-aloud');
  const button = other.locator('#toolbar button[data-tool="read-aloud"]');
  assert.equal(await button.getAttribute('aria-pressed'), 'false');
  assert.match(await button.getAttribute('aria-label'), /日本語の音声がありません/);
  await other.context().close();
  assert.deepEqual(other.pageErrors, []);
});
