// The browser's figure of a pinch, for scripts/bench, in Debian's Chromium,
// headless: a touch screen of 1920 x 1080 CSS pixels at twice the pixels
// (3840 x 2160 on the canvas), Solvara 2's balance page, two fingers
// spreading and closing again in 40 moves; each move's time from its touch
// event reaching the page to the page drawn anew at the new view (the next
// frame's turn included), with the processor as it is and slowed four times
// (as on a school Chromebook); and a stylus's move to its stroke drawn under it.
//   node tests/web/bench_zoom.mjs

import { fileUrl, idle, launch, newPage } from './lib.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await launch();
try {
  for (const slowed of [1, 4]) {
    const page = await newPage(browser, { hasTouch: true, viewport: { width: 1920, height: 1080 }, deviceScaleFactor: 2 });
    await page.goto(fileUrl('solvara', { seed: 3, keys: '5926\\n2\\n1\\n' }));
    await idle(page);
    // In the page: the time of each pinch move's event, and of the page drawn after it.
    await page.evaluate(() => {
      window.lessonMoves = [];
      window.addEventListener('pointermove', (event) => { window.lessonMoveAt = performance.now(); }, true);
      const redrawn = Module.page.redrawn;
      Module.page.redrawn = function () {
        if (window.lessonMoveAt !== undefined) window.lessonMoves.push(performance.now() - window.lessonMoveAt);
        window.lessonMoveAt = undefined;
        return redrawn.apply(this);
      };
    });
    const cdp = await page.context().newCDPSession(page);
    if (slowed > 1) await cdp.send('Emulation.setCPUThrottlingRate', { rate: slowed });
    const touch = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
    const at = { x: 900, y: 500 };
    await touch('touchStart', [{ x: at.x - 50, y: at.y, id: 1 }, { x: at.x + 50, y: at.y, id: 2 }]);
    for (let i = 1; i <= 40; ++i) {
      const d = 50 + 15 * (i <= 20 ? i : 40 - i);
      await touch('touchMove', [{ x: at.x - d, y: at.y, id: 1 }, { x: at.x + d, y: at.y, id: 2 }]);
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
    }
    await touch('touchEnd', []);
    await idle(page);
    const moves = await page.evaluate(() => window.lessonMoves);
    await page.context().close();
    const worst = Math.max(...moves);
    // A stylus across the page: each move's stroke drawn under the pen, from
    // the move reaching the page to the stroke painted on the layer over it.
    const pen = await newPage(browser, { viewport: { width: 1920, height: 1080 }, deviceScaleFactor: 2 });
    await pen.goto(fileUrl('solvara', { seed: 3, keys: '5926\\n2\\n1\\n' }));
    await idle(pen);
    await pen.evaluate(() => {
      window.lessonPen = [];
      window.addEventListener('pointermove', () => { window.lessonPenAt = performance.now(); }, true);
      window.addEventListener('pointermove', () => { window.lessonPen.push(performance.now() - window.lessonPenAt); });
    });
    const penCdp = await pen.context().newCDPSession(pen);
    if (slowed > 1) await penCdp.send('Emulation.setCPUThrottlingRate', { rate: slowed });
    const stylus = (type, x, y) => penCdp.send('Input.dispatchMouseEvent', { type, x, y, button: 'left',
      buttons: type === 'mouseReleased' ? 0 : 1, clickCount: 1, pointerType: 'pen' });
    await stylus('mousePressed', 300, 400);
    for (let i = 1; i <= 60; ++i) await stylus('mouseMoved', 300 + i * 15, 400 + 80 * Math.sin(i / 6));
    await stylus('mouseReleased', 1200, 400);
    await idle(pen);
    const strokes = await pen.evaluate(() => window.lessonPen);
    await pen.context().close();
    console.log(`solvara.html: a pen's move to its ink on the page, 1920x1080 at 2x in Chromium` +
                `${slowed > 1 ? `, the processor slowed ${slowed} times` : ''}: median ${median(strokes).toFixed(2)} ms, ` +
                `slowest ${Math.max(...strokes).toFixed(2)} ms over ${strokes.length} moves (target under ${slowed > 1 ? 33 : 16} ms)`);
    console.log(`solvara.html: a pinch's move, from its event to the page drawn anew, 1920x1080 at 2x in Chromium` +
                `${slowed > 1 ? `, the processor slowed ${slowed} times` : ''}: median ${median(moves).toFixed(1)} ms, ` +
                `slowest ${worst.toFixed(1)} ms over ${moves.length} moves (target under ${slowed > 1 ? 33 : 16} ms)`);
  }
} finally {
  await browser.close();
}
