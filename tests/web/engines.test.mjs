// Both programs' HTML files in the other engines a classroom has: Firefox ESR
// and WebKitGTK (Safari's engine, as on an iPad). In one page load each
// program walks every section of its main menu, then a remote's keys go on
// and step back; the trace is the desktop's, line for line.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { assertSameTrace, desktop, fileUrl, lines, withoutEmptyPolls } from './lib.mjs';
import { firefox, walkOfEverySection, webkit } from './engines.mjs';

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

for (const [name, start] of [['Firefox ESR', firefox], ['WebKitGTK', webkit]]) {
  test(`in ${name} every section of both programs draws the desktop's trace, and a remote's keys go on and step back`,
       async (t) => {
         const engine = await start();
         try {
           for (const program of ['solvara', 'ratiora']) {
             await t.test(program, () => walkAndRemote(engine, program));
           }
         } finally {
           await engine.close();
         }
       });
}
