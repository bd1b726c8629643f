// The browser figures of scripts/bench, in Debian's Chromium, headless:
//   node tests/web/bench.mjs PROGRAM VISIT [WALKS]
// the HTML file's size; opening the file to the password gate waiting; the
// time per key over a 2,000-key scripted walk (40 visits of the VISIT keys
// after the password); one step back after it; and one step back after each
// walk that scripts/bench wrote to the folder WALKS (PROGRAM-WALK-KEYS.keys,
// key scripts that end with the back).

import { existsSync, readFileSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { fileUrl, htmlFile, launch, newPage } from './lib.mjs';

const [program, visit, walks] = process.argv.slice(2);
const size = { width: 1920, height: 1080 };

// In the page: the time (performance.now(), which counts from the navigation's
// start) at which the program next waits for a key with no scripted key left,
// polled every turn of the event loop; and that time for the password gate.
function measureInPage() {
  window.lessonIdleAt = () => new Promise((resolve) => {
    const poll = () => (window.lesson !== undefined && window.lesson.idle() ? resolve(performance.now()) : setTimeout(poll, 0));
    poll();
  });
  window.lessonGateAt = window.lessonIdleAt();
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const best = (values) => Math.min(...values);

const browser = await launch();
try {
  const opens = [], steps = [], backs = [];
  let keys = 0;
  for (let run = 0; run < 5; ++run) {
    const page = await newPage(browser, { viewport: size });
    await page.addInitScript(measureInPage);
    await page.goto(fileUrl(program));
    opens.push(await page.evaluate(() => window.lessonGateAt));
    const walk = '5926\\n' + visit.repeat(40);
    keys = walk.replace(/\\./g, '.').length;
    const typed = (script) => page.evaluate(async (keys) => {
      const start = performance.now();
      window.lesson.keys(keys);
      return (await window.lessonIdleAt()) - start;
    }, script);
    steps.push((await typed(walk)) / keys);
    backs.push(await typed('\\<'));
    await page.context().close();
  }
  const kb = statSync(htmlFile(program)).size / 1024;
  console.log(`${program}.html: ${kb.toFixed(0)} KB (target under 1,536 KB, aim 1,024 KB)`);
  console.log(`${program}.html: opening the file to the password gate waiting ${best(opens).toFixed(0)} ms ` +
              `(best of 5; median ${median(opens).toFixed(0)} ms; target under 500 ms)`);
  console.log(`${program}.html: per key over a ${keys.toLocaleString('en')}-key scripted walk at ${size.width}x${size.height} ` +
              `${best(steps).toFixed(2)} ms (best of 5; median ${median(steps).toFixed(2)} ms; target under 4 ms)`);
  console.log(`${program}.html: one step back after it ${best(backs).toFixed(0)} ms ` +
              `(best of 5; median ${median(backs).toFixed(0)} ms; target under 150 ms)`);
  // The longer walks once each (100,000 keys take a minute or two to type).
  for (const [walk, label] of [['sections', 'across sections'], ['section', 'inside one section'],
                               ['page', 'on one practice page']]) {
    const figures = [];
    for (const n of [2000, 30000, 100000]) {
      const file = walks && join(walks, `${program}-${walk}-${n}.keys`);
      if (!file || !existsSync(file)) continue;
      const script = readFileSync(file, 'utf8');
      const page = await newPage(browser, { viewport: size });
      await page.addInitScript(measureInPage);
      await page.goto(fileUrl(program));
      await page.evaluate(() => window.lessonGateAt);
      await page.evaluate(async (keys) => { window.lesson.keys(keys); await window.lessonIdleAt(); },
                          script.slice(0, -2));
      const back = await page.evaluate(async () => {
        const start = performance.now();
        window.lesson.keys('\\<');
        return (await window.lessonIdleAt()) - start;
      });
      figures.push(`${n.toLocaleString('en')} keys ${back.toFixed(0)} ms`);
      await page.context().close();
    }
    if (figures.length) console.log(`${program}.html: one step back ${label} after ${figures.join(', ')}`);
  }
} finally {
  await browser.close();
}
