// The page script's pure modules (hosts/web/page/) in Node.js alone: the
// inflater against Node's zlib, the number pad's place and shape for a few
// windows, and the keys a key event and a press across the page make.

import assert from 'node:assert/strict';
import { randomBytes } from 'node:crypto';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';
import { gunzip } from '../../hosts/web/page/inflate.js';
import { PAD_SMALLEST, layout, roomWanted } from '../../hosts/web/page/pad.js';
import { gestureKey, keyOf } from '../../hosts/web/page/input.js';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const PAGE = { width: 1344, height: 720 };

test('the inflater gives back what zlib packed, random and real data at every level, and refuses a wrong CRC', () => {
  const sources = readdirSync(join(ROOT, 'engine/graphics')).filter((f) => f.endsWith('.cpp'))
    .map((f) => readFileSync(join(ROOT, 'engine/graphics', f)));
  const cases = [Buffer.alloc(0), randomBytes(1), randomBytes(70000), Buffer.concat(sources),
    Buffer.alloc(100000, 'ab')];
  for (const data of cases) {
    for (const level of [0, 1, 6, 9]) {
      const packed = gzipSync(data, { level });
      assert.ok(Buffer.from(gunzip(new Uint8Array(packed))).equals(data), `${data.length} bytes at level ${level}`);
    }
  }
  const packed = new Uint8Array(gzipSync(Buffer.concat(sources)));
  packed[packed.length - 8] ^= 1;  // the CRC's first byte
  assert.throws(() => gunzip(packed), /CRC/);
  const cut = new Uint8Array(gzipSync(randomBytes(5000))).subarray(0, 2000);
  assert.throws(() => gunzip(cut), /corrupted/);
});

// The page's box in a window W x H, as the shell's style puts it: as large as
// the window allows, centred, above a strip of `room` pixels for the pad.
function pageBox(W, H, room) {
  const width = Math.min(W, (H - room) * PAGE.width / PAGE.height), height = width * PAGE.height / PAGE.width;
  const left = (W - width) / 2, top = (H - room - height) / 2;
  return { left, top, right: left + width, bottom: top + height };
}

test('the pad stands beside the page, never over it, with buttons a finger can hit, in windows of every shape', () => {
  const windows = {
    'a page taller than wide (portrait iPad)': [768, 1024],
    'a 4:3 screen': [1024, 768],
    'a window taller than the page': [1344, 900],
    'a 16:9 whiteboard': [1920, 1080],
    'a 16:10 laptop': [1280, 800],
    'a window a little wider than 16:9': [1600, 720],
    'a window much wider than the page': [1700, 720],
  };
  const shapes = {};
  for (const [what, [W, H]] of Object.entries(windows)) {
    const room = roomWanted(W, H, PAGE);
    const r = pageBox(W, H, room);
    const placed = layout(W, H, r, room);
    assert.ok(placed, `${what}: the pad has a place`);
    const { at, shape } = placed;
    const w = shape.cols * shape.size, h = shape.rows * shape.size;
    assert.ok(shape.size >= PAD_SMALLEST, `${what}: buttons of ${shape.size} px`);
    assert.ok(shape.cols * shape.rows >= 15, `${what}: room for all 15 keys`);
    assert.ok(w <= at.w && h <= at.h && (at.x >= r.right - 0.5 || at.y >= r.bottom - 0.5),
              `${what}: the pad in a margin beside the page, not over it`);
    assert.ok(at.x + at.w <= W && at.y + at.h <= H, `${what}: inside the window`);
    shapes[what] = { room: room > 0, cols: shape.cols, below: !!at.below };
  }
  // In the margin with the most room: below the page, or right of it where
  // the page leaves room enough there, as a keypad of three columns; on a
  // 16:9 screen (and one a little wider), which leaves neither, in one row
  // below the page standing smaller.
  assert.deepEqual(shapes, {
    'a page taller than wide (portrait iPad)': { room: false, cols: 5, below: true },
    'a 4:3 screen': { room: false, cols: 15, below: true },
    'a window taller than the page': { room: false, cols: 15, below: true },
    'a 16:9 whiteboard': { room: true, cols: 15, below: true },
    'a 16:10 laptop': { room: false, cols: 15, below: true },
    'a window a little wider than 16:9': { room: true, cols: 15, below: true },
    'a window much wider than the page': { room: false, cols: 3, below: false },
  });
});

test('key events and presses make the keys the program reads', () => {
  const named = { Enter: '\r', Backspace: '\b', PageUp: '\x02', ArrowRight: '\x03', Numpad5: '\x0c', Numpad: '\x01' };
  const keys = [
    [{ key: '7', code: 'Digit7' }, '7'], [{ key: '/', code: 'NumpadDivide' }, '/'], [{ key: 'Enter', code: 'Enter' }, '\r'],
    [{ key: 'Enter', code: 'NumpadEnter' }, '\r'], [{ key: '3', code: 'Numpad3' }, '3'],
    // The keypad without NumLock: 5 a key of its own, the others one plain key.
    [{ key: 'Clear', code: 'Numpad5' }, '\x0c'], [{ key: 'PageUp', code: 'Numpad9' }, '\x01'],
    [{ key: 'PageUp', code: 'PageUp' }, '\x02'], [{ key: 'Shift', code: 'ShiftLeft' }, null],
    [{ key: 'F5', code: 'F5' }, null], [{ key: '\u00e9', code: 'KeyE' }, '\u00e9'],
  ];
  assert.deepEqual(keys.map(([event]) => keyOf(event, named)), keys.map(([, key]) => key));
  const g = { tapSlop: 24, swipe: 160, back: '\x02', forward: '\x03', tap: '\x04' };
  const at = { x: 100.123, y: 200.456 };
  const press = (dx, dy) => gestureKey(at, { x: at.x + dx, y: at.y + dy }, g);
  assert.deepEqual([press(0, 0), press(16, -16), press(17, 17), press(170, 80), press(-160, 0), press(150, 0),
    press(170, 90)],
  ['\x04100.12,200.46', '\x04100.12,200.46', null, '\x02', '\x03', null, null]);
});

// The program's host calls the page from C++ (hosts/web/web_host.cpp, its
// EM_JS functions), where no checker looks: each body is written out as a
// function of numbers, as the program hands them, and checked with the
// page's modules against the page's one declaration of what it offers.
test('the page type-checks strictly, and the host calls it as the page declares', () => {
  const page = join(ROOT, 'hosts/web/page');
  const host = readFileSync(join(ROOT, 'hosts/web/web_host.cpp'), 'utf8');
  const calls = [...host.matchAll(/^EM(?:_ASYNC)?_JS\(([^,]+), (\w+), \(([^)]*)\), \{(.*?)\}\);$/gms)];
  assert.ok(calls.length >= 20, `${calls.length} calls into the page found`);
  const functions = calls.map(([, , name, params, body]) => {
    const names = params.split(',').map((p) => p.trim().split(/[\s*]+/).pop()).filter(Boolean);
    const types = names.map((n) => ` * @param {number} ${n}\n`).join('');
    const async = /\bawait\b/.test(body) ? 'async ' : '';
    return `/**\n${types} */\n${async}function ${name}(${names.join(', ')}) {${body}}\n`;
  });
  const dir = mkdtempSync(join(tmpdir(), 'page-types-'));
  try {
    writeFileSync(join(dir, 'host.js'), '// @ts-check\n' + functions.join('\n'));
    // The runtime's helpers as emscripten's script has them, around the EM_JS bodies.
    writeFileSync(join(dir, 'runtime.d.ts'), [
      'declare function UTF8ToString(at: number): string;', 'declare function _malloc(size: number): number;',
      'declare function lengthBytesUTF8(text: string): number;',
      'declare function stringToUTF8(text: string, at: number, size: number): void;',
      'declare var HEAPU8: Uint8Array, HEAPU32: Uint32Array, HEAPF32: Float32Array, HEAPF64: Float64Array;'].join('\n'));
    const config = JSON.parse(readFileSync(join(page, 'jsconfig.json'), 'utf8'));
    assert.equal(config.compilerOptions.strict, true);
    writeFileSync(join(dir, 'tsconfig.json'), JSON.stringify({
      compilerOptions: { ...config.compilerOptions, allowJs: true, noEmit: true },
      files: [...readdirSync(page).filter((f) => /\.(js|d\.ts)$/.test(f)).map((f) => join(page, f)),
        join(dir, 'runtime.d.ts'), join(dir, 'host.js')],
    }));
    const checked = spawnSync('tsc', ['-p', join(dir, 'tsconfig.json')], { encoding: 'utf8' });
    assert.equal(checked.status, 0, checked.stdout + checked.stderr);
  } finally {
    rmSync(dir, { recursive: true, force: true });
  }
});
