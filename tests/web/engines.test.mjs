// Both programs' HTML files in the other engines a classroom has: Firefox ESR
// and WebKitGTK (Safari's engine, as on an iPad). In one page load each
// program walks every section of its main menu, then a remote's keys go on
// and step back; the trace is the desktop's, line for line; Ctrl and the
// wheel zoom and Ctrl+0 makes the page whole, reading no key. Then the site,
// served on 127.0.0.1: kept by its service worker after one visit, it opens
// and draws the lesson with the server stopped.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { PAGE, assertSameTrace, desktop, fileUrl, lines, withoutEmptyPolls } from './lib.mjs';
import { firefox, walkOfEverySection, webkit } from './engines.mjs';
import { KEPT, SITE, serve, wholeFolder } from './site.mjs';

// At the main menu after the walk: section 2, its first page, then a remote's
// keys, four on (Space among them, which the program reads as itself) and three back.
const REMOTE = ['2', 'Enter', '1', 'Enter', 'PageDown', 'ArrowRight', ' ', 'ArrowDown', 'PageUp', 'ArrowLeft', 'ArrowUp'];
const REMOTE_SCRIPT = '2\\n1\\n\\>\\> \\>\\<\\<\\<';

async function walkAndRemote(engine, program) {
  const seed = 3;
  const walk = walkOfEverySection(program, seed);
  const expected = desktop(program, ['--seed', String(seed), '--keys', walk.keys + REMOTE_SCRIPT]).trace;
  await engine.goto(fileUrl(program, { seed, keys: walk.keys }));
  await engine.idle();
  const walked = lines(walk.trace).length;
  const afterWalk = lines(await engine.run('window.lesson.trace()'));
  assertSameTrace(afterWalk.slice(0, walked).join('\n'), walk.trace, `${engine.name}: ${program}, every section`);
  for (const key of REMOTE) {
    await engine.press(key);
    await engine.idle();
  }
  const got = lines(await engine.run('window.lesson.trace()'));
  // Past the walk the entry field polls for a key while it waits: those polls
  // and nothing else are what a typing teacher adds.
  assertSameTrace(lines(withoutEmptyPolls(got.slice(walked).join('\n'))).join('\n'),
                  lines(expected).slice(walked).join('\n'), `${engine.name}: ${program}, a remote's keys after the walk`);
  assert.deepEqual(engine.pageErrors ? await engine.pageErrors() : engine.errors, [], `${engine.name}: ${program}`);
}

// Ctrl and the wheel over the page zoom it, Ctrl+0 gives the whole page
// back, and neither reads a key: the trace stays as it was.
async function zoomReadsNoKey(engine) {
  const view = () => engine.run('window.lesson.view()');
  const before = withoutEmptyPolls(await engine.run('window.lesson.trace()'));
  await engine.ctrlWheel(400, 300, -300);
  let zoomed;
  for (const deadline = Date.now() + 10000; Date.now() < deadline;) {
    zoomed = await view();
    if (zoomed.width < PAGE.width) break;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.ok(zoomed.width < PAGE.width / 2, `${engine.name}: Ctrl and the wheel zoomed to ${JSON.stringify(zoomed)}`);
  await engine.ctrlPress('0');
  await engine.idle();
  assert.deepEqual(await view(), { x: 0, y: 0, ...PAGE }, `${engine.name}: Ctrl+0, the whole page`);
  assert.equal(withoutEmptyPolls(await engine.run('window.lesson.trace()')), before, `${engine.name}: no key read`);
}

async function siteOffline(engine) {
  const server = await serve(SITE);
  try {
    await engine.goto(`${server.url}solvara.html`);
    await engine.idle();
    const whole = JSON.stringify(wholeFolder(SITE, server.url));
    let got;
    for (const deadline = Date.now() + 30000; Date.now() < deadline;) {
      got = JSON.stringify(await engine.run(KEPT));
      if (got === whole) break;
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    assert.equal(got, whole, `${engine.name}: every file of the folder kept after one visit`);
    await server.stop();
    const keys = '5926\\n5\\n1\\n\\>';
    await engine.goto(`${server.url}ratiora.html?seed=3&keys=${encodeURIComponent(keys)}`);
    assert.equal(await engine.run(`document.getElementById('lesson-wasm') !== null`), true,
                 `${engine.name}: the program's page opens with the server stopped`);
    await engine.idle();
    assert.equal(await engine.run('navigator.serviceWorker.controller !== null'), true);
    assertSameTrace(withoutEmptyPolls(await engine.run('window.lesson.trace()')),
                    desktop('ratiora', ['--seed', '3', '--keys', keys]).trace, `${engine.name}: ratiora with the server stopped`);
    assert.deepEqual(engine.pageErrors ? await engine.pageErrors() : engine.errors, [], engine.name);
  } finally {
    await server.stop();
  }
}

// A plain opening keeps its place: opened again, it stands at the wait it
// stood at, the page as it stood, no password asked; the place is left after.
async function reopenStands(engine) {
  const canvas = '(() => { const c = document.querySelector("canvas"); return c ? c.toDataURL() : ""; })()';
  await engine.goto(fileUrl('solvara'));
  await engine.idle();
  await engine.run('window.lesson.keys("5926\\n2\\n3\\n")');
  await engine.idle();
  const kind = await engine.run('window.lesson.waitKind()'), stood = await engine.run(canvas);
  assert.notEqual(kind, 'gate', `${engine.name}: the keys went through`);
  await engine.goto(fileUrl('solvara'));
  await engine.idle();
  assert.equal(await engine.run('window.lesson.waitKind()'), kind, `${engine.name}: opened again where it stood`);
  assert.ok((await engine.run(canvas)) === stood, `${engine.name}: the page as it stood`);
  await engine.run('(localStorage.clear(), 0)');
}

for (const [name, start] of [['Firefox ESR', firefox], ['WebKitGTK', webkit]]) {
  test(`in ${name} every section of both programs draws the desktop's trace, a remote's keys go on and step back, ` +
       'and the site opens offline after one visit',
       async (t) => {
         const engine = await start();
         try {
           for (const program of ['solvara', 'ratiora']) {
             await t.test(program, () => walkAndRemote(engine, program));
           }
           await t.test('Ctrl and the wheel zoom, Ctrl+0 gives the whole page back, and neither reads a key',
                        () => zoomReadsNoKey(engine));
           await t.test('the site kept after one visit, with the server stopped', () => siteOffline(engine));
           await t.test('a plain opening opened again stands where it stood', () => reopenStands(engine));
         } finally {
           await engine.close();
         }
       });
}
