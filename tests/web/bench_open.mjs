// The first opening on a school device, for scripts/bench, in Debian's
// Chromium, headless, each time in a fresh browser context (nothing cached,
// no service worker): the single HTML file and the site's page (served on
// 127.0.0.1) to the password gate waiting; then on a practice page a key
// step and a step back; unslowed and with the processor slowed four times.
//   node tests/web/bench_open.mjs [PROGRAM [RATE]]   (default: both programs, unslowed and slowed 4 times)

import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { fileUrl, idle, launch, newPage } from './lib.mjs';
import { SITE, serve } from './site.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
// The site's parts, in KB as a static server sends them.
const kb = (...parts) => (parts.reduce((sum, part) => sum + statSync(join(SITE, part)).size, 0) / 1024).toFixed(0);
const folder = (name) => readdirSync(join(SITE, name)).map((file) => join(name, file));
const all = readdirSync(SITE, { recursive: true }).filter((part) => statSync(join(SITE, part)).isFile());
console.log(`the site: ${['solvara', 'ratiora'].map((p) => `${p}.wasm ${kb(`${p}.wasm`)} KB, ${p}.js ${kb(`${p}.js`)} KB`).join(', ')}, ` +
            `fonts ${kb(...folder('fonts'))} KB, icons ${kb(...folder('icons'))} KB; ${(Number(kb(...all)) / 1024).toFixed(1)} MB in all`);
const browser = await launch();
const server = await serve(SITE);
try {
  for (const program of process.argv[2] ? [process.argv[2]] : ['solvara', 'ratiora']) {
    for (const slowed of process.argv[3] ? [Number(process.argv[3])] : [1, 4]) {
      const figures = {};
      for (const [where, url] of [['file', fileUrl(program)], ['site', `${server.url}${program}.html`]]) {
        const gates = [], steps = [], backs = [];
        /** @type {Record<string, number[]>} */
        const phases = {};
        for (let run = 0; run < 9; ++run) {
          const page = await newPage(browser, { viewport: { width: 1920, height: 1080 } });
          const cdp = await page.context().newCDPSession(page);
          await cdp.send('Emulation.setCPUThrottlingRate', { rate: slowed });
          await page.goto(url);
          await idle(page);
          const marks = await page.evaluate(() => Object.fromEntries(performance.getEntriesByType('mark').map((m) => [m.name, m.startTime])));
          gates.push(marks['lesson-first-wait']);
          for (const [name, at] of Object.entries(marks)) (phases[name] ||= []).push(at);
          // A practice page: Solvara 2's drill, Ratiora 1's example drill.
          await page.evaluate((keys) => window.lesson.keys(keys), program === 'solvara' ? '5926\\n2\\n7\\n' : '5926\\n1\\n4\\n');
          await idle(page);
          // From the key to the program waiting again, its step drawn.
          const timed = (keys) => page.evaluate(async (keys) => {
            const waiting = new Promise((resolve) => window.addEventListener('lesson-waiting', () => resolve(performance.now()), { once: true }));
            const start = performance.now();
            window.lesson.keys(keys);
            return (await waiting) - start;
          }, keys);
          steps.push(await timed('k'));
          backs.push(await timed('\\<'));
          await page.context().close();
        }
        figures[where] = `gate ${median(gates).toFixed(0)} ms, a key on a practice page ${median(steps).toFixed(1)} ms, ` +
          `a step back ${median(backs).toFixed(1)} ms (` +
          Object.entries(phases).sort((a, b) => median(a[1]) - median(b[1]))
            .map(([name, at]) => `${name.replace('lesson-', '')} ${median(at).toFixed(0)}`).join(', ') + ')';
      }
      console.log(`${program}: the first opening${slowed > 1 ? `, the processor slowed ${slowed} times` : ''} (median of 9; ` +
                  `targets slowed 4 times: 500 ms, 8 ms, 50 ms): the file ${figures.file}; the site ${figures.site}`);
    }
  }
} finally {
  await server.stop();
  await browser.close();
}
