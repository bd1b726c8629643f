// The browser page of a lesson program (given to emcc with --pre-js): the
// canvas the program draws on, the keyboard, the query string's options and
// window.lesson for scripts. The drawing numbers (colours, pens, the faces'
// cells, the erasing spread) come from the program; this draws them the way
// the desktop's Cairo raster does.

(function () {
  'use strict';
  const PAGE_WIDTH = 1344, PAGE_HEIGHT = 720, TURN = 2 * Math.PI;
  const MAX_QUEUED_KEYS = 64;

  // The query string takes the options of a prepared run:
  // ?seed=N&keys=SCRIPT&walk=N (the key script URL-encoded).
  const query = new URLSearchParams(window.location.search);
  const args = [];
  for (const name of ['seed', 'keys', 'walk']) {
    if (query.has(name)) args.push('--' + name, query.get(name));
  }
  Module['arguments'] = args;

  // The program's WebAssembly is packed into the page gzip'd and in base64
  // (hosts/web/pack.py). Where the browser inflates gzip itself, the program is
  // compiled as it is inflated; elsewhere (iPads before iPadOS 16.4, older
  // Chromebooks) inflate() below does it first.
  Module['instantiateWasm'] = (imports, receive) => {
    const base64 = document.getElementById('lesson-wasm').textContent;
    let packed;
    if (Uint8Array.fromBase64) {
      packed = Uint8Array.fromBase64(base64);
    } else {
      const text = atob(base64);
      packed = new Uint8Array(text.length);
      for (let i = 0; i < text.length; ++i) packed[i] = text.charCodeAt(i);
    }
    let made;
    if (typeof DecompressionStream === 'function') {
      const wasm = new Response(new Response(packed).body.pipeThrough(new DecompressionStream('gzip')),
                                { headers: { 'Content-Type': 'application/wasm' } });
      made = WebAssembly.instantiateStreaming ? WebAssembly.instantiateStreaming(wasm, imports) :
        wasm.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
    } else {
      made = Promise.resolve().then(() => WebAssembly.instantiate(gunzip(packed), imports));
    }
    made.then((result) => receive(result.instance, result.module), (error) => abort(error));
    setTimeout(() => page.prepare());
    return {};
  };

  // The data of a gzip file (RFC 1952): its one member inflated, its length
  // and CRC checked.
  function gunzip(data) {
    if (data.length < 18 || data[0] !== 0x1f || data[1] !== 0x8b || data[2] !== 8) throw new Error('not gzip data');
    const flags = data[3];
    let at = 10;
    if (flags & 4) at += 2 + (data[at] | data[at + 1] << 8);  // extra field
    if (flags & 8) while (data[at++]);                         // file name
    if (flags & 16) while (data[at++]);                        // comment
    if (flags & 2) at += 2;                                    // header CRC
    const end = data.length - 8;
    const word = (i) => (data[i] | data[i + 1] << 8 | data[i + 2] << 16 | data[i + 3] << 24) >>> 0;
    const size = word(end + 4);
    if (size > 1032 * data.length) throw new Error('gzip data corrupted (length)');  // DEFLATE's largest ratio
    const out = inflate(data, at, end, new Uint8Array(size));
    if (crc32(out) !== word(end)) throw new Error('gzip data corrupted (CRC)');
    return out;
  }

  // Raw DEFLATE data (RFC 1951) from data[at] up to data[end], inflated into
  // out, which it must fill exactly.
  function inflate(data, at, end, out) {
    let bits = 0, count = 0, n = 0;
    const corrupt = () => { throw new Error('deflate data corrupted'); };
    const take = (k) => {
      while (count < k) {
        if (at >= end) corrupt();
        bits |= data[at++] << count;
        count += 8;
      }
      const v = bits & ((1 << k) - 1);
      bits >>>= k;
      count -= k;
      return v;
    };
    // A canonical Huffman code from its code lengths: the number of codes of
    // each length and the symbols in code order; read a bit at a time.
    const code = (lengths, from, size) => {
      const counts = new Uint16Array(16), symbols = new Uint16Array(size), next = new Uint16Array(16);
      for (let i = 0; i < size; ++i) ++counts[lengths[from + i]];
      counts[0] = 0;
      for (let len = 1; len < 16; ++len) next[len] = next[len - 1] + counts[len - 1];
      for (let i = 0; i < size; ++i) if (lengths[from + i]) symbols[next[lengths[from + i]]++] = i;
      return { counts, symbols };
    };
    const decode = (h) => {
      let c = 0, first = 0, index = 0;
      for (let len = 1; len < 16; ++len) {
        c |= take(1);
        const k = h.counts[len];
        if (c - k < first) return h.symbols[index + c - first];
        index += k;
        first = (first + k) << 1;
        c <<= 1;
      }
      return corrupt();
    };
    // Lengths 3..258 and distances 1..32768: a base and its extra bits.
    const lengthBase = [], lengthExtra = [], distBase = [], distExtra = [];
    for (let i = 0, base = 3; i < 29; ++i) {
      lengthExtra.push(i < 8 || i === 28 ? 0 : (i >> 2) - 1);
      lengthBase.push(i === 28 ? 258 : base);
      base += 1 << lengthExtra[i];
    }
    for (let i = 0, base = 1; i < 30; ++i) {
      distExtra.push(i < 4 ? 0 : (i >> 1) - 1);
      distBase.push(base);
      base += 1 << distExtra[i];
    }
    const ORDER = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];
    let last;
    do {
      last = take(1);
      const type = take(2);
      if (type === 0) {
        bits = count = 0;  // stored: from the next byte on
        if (at + 4 > end) corrupt();
        const len = data[at] | data[at + 1] << 8;
        if ((data[at + 2] | data[at + 3] << 8) !== (~len & 0xffff)) corrupt();
        at += 4;
        if (at + len > end || n + len > out.length) corrupt();
        out.set(data.subarray(at, at + len), n);
        at += len;
        n += len;
        continue;
      }
      if (type === 3) corrupt();
      const lengths = new Uint8Array(320);
      let literals = 288, distances = 30;
      if (type === 1) {  // the fixed codes
        lengths.fill(8, 0, 144);
        lengths.fill(9, 144, 256);
        lengths.fill(7, 256, 280);
        lengths.fill(8, 280, 288);
        lengths.fill(5, 288, 318);
      } else {           // codes of the block's own
        literals = take(5) + 257;
        distances = take(5) + 1;
        const codeLengths = new Uint8Array(19);
        for (let i = 0, k = take(4) + 4; i < k; ++i) codeLengths[ORDER[i]] = take(3);
        const lengthCode = code(codeLengths, 0, 19);
        for (let i = 0; i < literals + distances;) {
          const sym = decode(lengthCode);
          if (sym < 16) {
            lengths[i++] = sym;
            continue;
          }
          if (sym === 16 && i === 0) corrupt();
          const len = sym === 16 ? lengths[i - 1] : 0;
          let repeat = sym === 16 ? 3 + take(2) : sym === 17 ? 3 + take(3) : 11 + take(7);
          if (i + repeat > literals + distances) corrupt();
          while (repeat--) lengths[i++] = len;
        }
      }
      const literal = code(lengths, 0, literals), distance = code(lengths, literals, distances);
      for (;;) {
        let sym = decode(literal);
        if (sym < 256) {
          if (n >= out.length) corrupt();
          out[n++] = sym;
          continue;
        }
        if (sym === 256) break;
        sym -= 257;
        if (sym >= 29) corrupt();
        const len = lengthBase[sym] + take(lengthExtra[sym]);
        const d = decode(distance);
        if (d >= 30) corrupt();
        const back = distBase[d] + take(distExtra[d]);
        if (back > n || n + len > out.length) corrupt();
        for (let k = 0; k < len; ++k, ++n) out[n] = out[n - back];
      }
    } while (!last);
    if (n !== out.length) corrupt();
    return out;
  }

  function crc32(bytes) {
    const table = new Int32Array(256);
    for (let i = 0; i < 256; ++i) {
      let c = i;
      for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
      table[i] = c;
    }
    let crc = -1;
    for (let i = 0; i < bytes.length; ++i) crc = table[(crc ^ bytes[i]) & 0xff] ^ (crc >>> 8);
    return (crc ^ -1) >>> 0;
  }

  // Keys that type no text, by their names: the program's key table, given
  // when the page begins, with the keypad's keys without NumLock by their
  // codes ("Numpad5", and "Numpad" for the others).
  let namedKeys = {};

  function keyOf(event) {
    // The keypad without NumLock: 5 is a key of its own, the others one key.
    if (event.code.startsWith('Numpad') && event.code !== 'NumpadEnter' && [...event.key].length !== 1) {
      return namedKeys[event.code === 'Numpad5' ? 'Numpad5' : 'Numpad'];
    }
    if (Object.prototype.hasOwnProperty.call(namedKeys, event.key)) return namedKeys[event.key];
    if ([...event.key].length === 1) return event.key;
    return null;
  }

  // The faces the program draws with (the page's @font-face rules), loaded at
  // once: they are decoded while the program is compiled. The program's first
  // page waits for them only while one is still loading: the browser settles
  // their promises no sooner than its next layout, well after they are ready.
  const faces = document.fonts ? [...document.fonts] : [];
  const fontsLoaded = Promise.all(faces.map((face) => face.load().catch(() => null)));
  const facesSettled = () => faces.every((face) => face.status === 'loaded' || face.status === 'error');

  const state = {
    keys: [],         // typed keys not yet taken by the program
    script: '',       // keys typed by window.lesson.keys, not yet taken
    idle: false,      // the program waits with nothing left to read
    ended: false,
    resized: false,
    wake: null,
    trace: [],
  };

  function wake() {
    state.idle = false;
    if (state.wake) state.wake();
  }

  const page = {
    canvas: null, ctx: null, scale: 1, offsetX: 0, offsetY: 0,
    colors: [], clearColor: '', spread: 2.5,
    family: '', bold: false, italic: false, across: 16, height: 16, glyphColor: 0, erase: false, extra: 0,

    program: 'lesson',

    begin(program, palette, clearIndex, spread, keys) {
      namedKeys = keys;
      // Marks for the figures: the program starts, its faces are loaded, it
      // first waits for a key.
      performance.mark('lesson-start');
      this.program = program;
      this.prepare();
      for (let i = 0; i < 16; ++i) {
        this.colors.push('rgb(' + palette[3 * i] + ',' + palette[3 * i + 1] + ',' + palette[3 * i + 2] + ')');
      }
      this.clearColor = this.colors[clearIndex];
      this.spread = spread;
      // Only a new size in device pixels draws the page again: not the first
      // notice every observer gets, nor a move of the letterboxed box.
      const resized = () => {
        const [w, h] = this.devicePixels();
        if (w === this.canvas.width && h === this.canvas.height) return;
        state.resized = true;
        wake();
      };
      window.addEventListener('resize', resized);
      if (window.ResizeObserver) new ResizeObserver(resized).observe(this.canvas);
      listen(this.canvas);
    },

    // The canvas and its pixels at the size of its box, painted white: done
    // while the program is still being compiled, as the first drawing on a new
    // canvas is the costliest.
    prepare() {
      if (this.ctx) return;
      this.canvas = document.getElementById('page');
      pad.makeRoom();  // the page as it stands with the pad, from the first drawing on
      this.ctx = this.canvas.getContext('2d', { alpha: false });
      [this.canvas.width, this.canvas.height] = this.devicePixels();
      this.ctx.fillStyle = '#fff';
      this.ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    },

    // The canvas at the device's pixel size, the page scaled into it and
    // letterboxed; painted white, or in the clear colour after a clear.
    ground(cleared) {
      const c = this.canvas, ctx = this.ctx;
      const [w, h] = this.devicePixels();
      if (c.width !== w || c.height !== h) {
        c.width = w;
        c.height = h;
      }
      ctx.resetTransform();
      ctx.fillStyle = cleared ? this.clearColor : this.colors[15];
      ctx.fillRect(0, 0, w, h);
      this.scale = Math.min(w / PAGE_WIDTH, h / PAGE_HEIGHT);
      this.offsetX = (w - PAGE_WIDTH * this.scale) / 2;
      this.offsetY = (h - PAGE_HEIGHT * this.scale) / 2;
      ctx.setTransform(this.scale, 0, 0, this.scale, this.offsetX, this.offsetY);
      ctx.lineCap = 'round';
      ctx.lineJoin = 'round';
      ctx.textBaseline = 'alphabetic';
      ctx.textAlign = 'left';
    },

    // The canvas's size in device pixels for its box on the screen now.
    devicePixels() {
      const ratio = window.devicePixelRatio || 1;
      const box = this.canvas.getBoundingClientRect();
      return [Math.max(1, Math.round(box.width * ratio)), Math.max(1, Math.round(box.height * ratio))];
    },

    takeResized() {
      const r = state.resized;
      state.resized = false;
      return r ? 1 : 0;
    },

    // The page's clip, around each drawing.
    clipped(draw) {
      const ctx = this.ctx;
      ctx.save();
      ctx.beginPath();
      ctx.rect(0, 0, PAGE_WIDTH, PAGE_HEIGHT);
      ctx.clip();
      ctx.beginPath();
      draw(ctx);
      ctx.restore();
    },

    width(pen, erase) { return pen + (erase ? this.spread / this.scale : 0); },

    stroke(ctx, color, width) {
      if (width <= 0) return;  // a pen of no width draws nothing
      ctx.lineWidth = width;
      ctx.strokeStyle = this.colors[color];
      ctx.stroke();
    },

    cls() {
      const ctx = this.ctx;
      ctx.save();
      ctx.resetTransform();
      ctx.fillStyle = this.clearColor;
      ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
      ctx.restore();
    },

    line(x1, y1, x2, y2, color, pen, erase) {
      this.clipped((ctx) => {
        ctx.moveTo(x1, y1);
        ctx.lineTo(x2, y2);
        this.stroke(ctx, color, this.width(pen, erase));
      });
    },

    // A rectangle on whole device pixels.
    pixelRectangle(ctx, x0, y0, x1, y1) {
      const snapX = (x) => (Math.round(x * this.scale + this.offsetX) - this.offsetX) / this.scale;
      const snapY = (y) => (Math.round(y * this.scale + this.offsetY) - this.offsetY) / this.scale;
      const left = snapX(x0), top = snapY(y0);
      ctx.rect(left, top, snapX(x1) - left, snapY(y1) - top);
    },

    // Filled on whole device pixels; the outline is the ring between two rectangles.
    box(x1, y1, x2, y2, color, fill, pen, erase) {
      this.clipped((ctx) => {
        const x = Math.min(x1, x2), y = Math.min(y1, y2), X = Math.max(x1, x2), Y = Math.max(y1, y2);
        const half = this.width(pen, erase) / 2;
        if (fill === color) {
          this.pixelRectangle(ctx, x - half, y - half, X + half, Y + half);
          ctx.fillStyle = this.colors[color];
          ctx.fill();
          return;
        }
        this.pixelRectangle(ctx, x, y, X, Y);
        ctx.fillStyle = this.colors[fill];
        ctx.fill();
        ctx.beginPath();
        this.pixelRectangle(ctx, x - half, y - half, X + half, Y + half);
        if (X - x > 2 * half && Y - y > 2 * half) this.pixelRectangle(ctx, x + half, y + half, X - half, Y - half);
        ctx.fillStyle = this.colors[color];
        ctx.fill('evenodd');
      });
    },

    // Angles are fractions of a turn, counter-clockwise as on paper (the
    // page's y axis points down); 0 and 0 is a full circle.
    circle(x, y, r, start, end, color, fill, pen, erase) {
      this.clipped((ctx) => {
        r = Math.abs(r);
        const width = this.width(pen, erase);
        const full = start === 0 && end === 0;
        if (full && fill < 0 && 2 * r < pen) {
          // A circle smaller than its pen is a dot: a solid disc, not a ring.
          ctx.arc(x, y, r + width / 2, 0, TURN);
          ctx.fillStyle = this.colors[color];
          ctx.fill();
          return;
        }
        if (full) {
          ctx.arc(x, y, r, 0, TURN);
          ctx.closePath();
        } else {
          if (fill >= 0) ctx.moveTo(x, y);
          ctx.arc(x, y, r, -start * TURN, -end * TURN, true);
          if (fill >= 0) ctx.closePath();
        }
        if (fill >= 0) {
          ctx.fillStyle = this.colors[fill];
          ctx.fill();
        }
        this.stroke(ctx, color, width);
      });
    },

    polyline(points, color, fill, pen, erase) {
      this.clipped((ctx) => {
        ctx.moveTo(points[0], points[1]);
        for (let i = 2; i < points.length; i += 2) ctx.lineTo(points[i], points[i + 1]);
        if (fill >= 0) {
          ctx.closePath();
          ctx.fillStyle = this.colors[fill];
          ctx.fill();
        }
        this.stroke(ctx, color, this.width(pen, erase));
      });
    },

    font(family, bold, italic, across, height, color, erase, extra) {
      this.family = family;
      this.bold = !!bold;
      this.italic = !!italic;
      this.across = across;
      this.height = height;
      this.glyphColor = color;
      this.erase = !!erase;
      this.extra = extra;
    },

    // One glyph with its origin at (x, baseline): the face's em is `height`
    // high and `across` wide.
    glyph(codePoint, x, baseline) {
      this.clipped((ctx) => {
        const stretch = this.across / this.height;
        ctx.translate(x, baseline);
        ctx.scale(stretch, 1);
        ctx.font = (this.italic ? 'italic ' : '') + (this.bold ? 'bold ' : '') + this.height + 'px "' +
            this.family + '"';
        const text = String.fromCodePoint(codePoint);
        ctx.fillStyle = this.colors[this.glyphColor];
        ctx.fillText(text, 0, 0);
        if (this.erase) {
          // The stroke is drawn in the stretched space: widened so that it
          // reaches as far across as up and down.
          ctx.lineWidth = (this.spread / this.scale + this.extra) / Math.min(1, stretch);
          ctx.strokeStyle = this.colors[this.glyphColor];
          ctx.strokeText(text, 0, 0);
        }
      });
    },

    // The faces, asked for when the page's script first ran.
    loadFonts() {
      const marked = () => { performance.mark('lesson-fonts'); };
      return facesSettled() ? marked() : fontsLoaded.then(marked);
    },

    // A glyph's ink box in ems, from its origin (x right, y down), as the
    // canvas draws it; null when the browser cannot tell.
    ink(family, bold, italic, codePoint) {
      const EM = 1000;
      if (!this.measurer) this.measurer = document.createElement('canvas').getContext('2d');
      const ctx = this.measurer;
      ctx.font = (italic ? 'italic ' : '') + (bold ? 'bold ' : '') + EM + 'px "' + family + '"';
      const m = ctx.measureText(String.fromCodePoint(codePoint));
      if (m.actualBoundingBoxRight === undefined) return null;
      return [-m.actualBoundingBoxLeft / EM, -m.actualBoundingBoxAscent / EM, m.actualBoundingBoxRight / EM,
        m.actualBoundingBoxDescent / EM];
    },

    // Sleeps up to ms; a key, a script or a new size ends the sleep early.
    wait(ms) {
      if (state.keys.length || state.script || state.resized) return Promise.resolve();
      return new Promise((resolve) => {
        const done = () => {
          clearTimeout(timer);
          state.wake = null;
          resolve();
        };
        const timer = setTimeout(done, ms);
        state.wake = done;
      });
    },

    // A string for the program: UTF-8 in memory the program frees; 0 for none.
    give(text) {
      if (!text) return 0;
      const size = lengthBytesUTF8(text) + 1;
      const at = _malloc(size);
      stringToUTF8(text, at, size);
      return at;
    },
    takeKey() { return this.give(state.keys.shift()); },
    takeScript() {
      const s = state.script;
      state.script = '';
      return this.give(s);
    },
    setWait(kind) { pad.setWait(kind); },
    setIdle() {
      if (!state.idle && !performance.getEntriesByName('lesson-first-wait').length) performance.mark('lesson-first-wait');
      state.idle = true;
      pad.waiting();
    },
    trace(line) { state.trace.push(line); },
    end() { state.ended = true; },
  };
  Module.page = page;

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      if (document.exitFullscreen) document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(() => {});
    }
  }

  function two(n) { return String(n).padStart(2, '0'); }

  // Ctrl+S: the page as a PNG, named after the program and the time.
  function savePage() {
    const now = new Date();
    const stamp = now.getFullYear() + '-' + two(now.getMonth() + 1) + '-' + two(now.getDate()) + '_' +
        two(now.getHours()) + '-' + two(now.getMinutes()) + '-' + two(now.getSeconds());
    page.canvas.toBlob((blob) => {
      if (!blob) return;
      const link = document.createElement('a');
      link.href = URL.createObjectURL(blob);
      link.download = page.program + '-' + stamp + '.png';
      document.body.appendChild(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    }, 'image/png');
  }

  // Taps, clicks and swipes, as the desktop's window reads them: a tap at a
  // page position (the letterbox taken off) is a key of its own, "\x04X,Y",
  // resolved by the program at the wait that reads it; a right click goes
  // back; a swipe across the page goes back (to the right) or on (to the left).
  const TAP_SLOP = 24, SWIPE = 160;  // page units
  const BACK = '\x02', FORWARD = '\x03', TAP = '\x04';

  function pushKey(key) {
    if (state.keys.length < MAX_QUEUED_KEYS) state.keys.push(key);
    wake();
  }

  function pagePoint(event, r) {
    return { x: (event.clientX - r.left) * PAGE_WIDTH / r.width, y: (event.clientY - r.top) * PAGE_HEIGHT / r.height };
  }

  function unitText(v) { return String(Math.round(v * 100) / 100); }

  // The number pad of a touch screen: while an entry field waits, beside the
  // page, in the margin below or to the right of it. On a screen that can be
  // touched it stands ready from the first wait on; a key typed on a keyboard
  // puts it away (and the page is whole again), a touch brings it back.
  // In three columns as on a keypad; in longer rows as the digits are counted.
  const PAD_KEYS = ['7', '8', '9', '4', '5', '6', '1', '2', '3', '0', '-', '.', '/', '\\b', '\\n'];
  const PAD_ROW_KEYS = ['1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '-', '.', '/', '\\b', '\\n'];
  const PAD_LABELS = { '\\b': '\u232b', '\\n': 'Enter' };
  const ENTRY_WAITS = ['gate', 'menu', 'submenu', 'step'];
  const PAD_GAP = 6, PAD_BUTTON = 72, PAD_SMALLEST = 44;  // CSS pixels
  const PAD_SHAPES = [[3, 5], [5, 3], [8, 2], [15, 1]];  // columns, rows
  const TOUCH_SCREEN = (window.matchMedia !== undefined && window.matchMedia('(pointer: coarse)').matches) ||
      navigator.maxTouchPoints > 0;
  const pad = {
    element: null, touch: TOUCH_SCREEN, kind: 'none',
    fingers: new Set(),  // the touches on the screen now
    make() {
      const el = document.createElement('div');
      el.id = 'pad';
      el.style.cssText = 'position:fixed;display:none;gap:' + PAD_GAP + 'px;z-index:1;touch-action:none;' +
          'padding:' + PAD_GAP + 'px;box-sizing:border-box;';
      for (const k of PAD_KEYS) {
        const b = document.createElement('button');
        b.type = 'button';
        b.tabIndex = -1;
        b.dataset.key = k;
        b.textContent = PAD_LABELS[k] || k;
        b.style.cssText = 'font:bold 22px sans-serif;margin:0;padding:0;border:2px solid #999;border-radius:10px;' +
            'background:#f2f2f2;color:#000;touch-action:none;';
        b.addEventListener('pointerdown', (event) => {
          event.preventDefault();
          pushKey(k === '\\b' ? '\b' : k === '\\n' ? '\r' : k);
        });
        el.appendChild(b);
      }
      document.body.appendChild(el);
      this.element = el;
      this.show();
    },
    // A touch shows the pad where it fits beside the page as it stands; where
    // the page must stand smaller for it, that waits until the finger is off
    // the screen and the program waits again (waiting).
    touched() { if (!this.touch) { this.touch = true; this.show(); } },
    typed() { if (this.touch) { this.touch = false; this.settle(); } },
    setWait(kind) { this.kind = kind; this.settle(); },

    // Where no margin beside the page takes buttons a finger can hit (a wide
    // screen, as most whiteboards are), the page stands a little smaller
    // above a strip for the pad, from one wait to the next for as long as the
    // pad is wanted. The page changes its size only with no finger on the
    // screen: a touch is read on the page it came down on.
    room: 0,
    settle() {
      if (!this.fingers.size) this.makeRoom();
      this.show();
    },
    // The program waits for a key: a page still to stand smaller for the pad,
    // or whole again, does so now.
    waiting() {
      if (this.roomDue() !== this.room) this.settle();
    },
    roomDue() { return this.touch ? this.roomWanted() : 0; },
    makeRoom(resized) {
      const room = this.roomDue();
      if ((room === this.room && !resized) || !page.canvas) return;
      this.room = room;
      const style = page.canvas.style;
      if (!room) {
        style.width = style.height = style.bottom = '';
        return;
      }
      const W = window.innerWidth, H = window.innerHeight;
      const width = Math.min(W, (H - room) * PAGE_WIDTH / PAGE_HEIGHT);
      style.width = width + 'px';
      style.height = width * PAGE_HEIGHT / PAGE_WIDTH + 'px';
      style.bottom = room + 'px';
    },
    // The strip's height: none where the page fills the window as it would
    // with no pad and a margin beside it takes the pad.
    roomWanted() {
      const W = window.innerWidth, H = window.innerHeight;
      const width = Math.min(W, H * PAGE_WIDTH / PAGE_HEIGHT), height = width * PAGE_HEIGHT / PAGE_WIDTH;
      const whole = { left: (W - width) / 2, top: (H - height) / 2, right: (W + width) / 2, bottom: (H + height) / 2 };
      if (this.margins(whole).some((m) => this.fit(m).size >= PAD_SMALLEST)) return 0;
      return Math.floor(this.fit({ w: W, h: PAD_BUTTON + 2 * PAD_GAP }).size) + 2 * PAD_GAP;
    },
    // The margins right of and below a page standing in box r.
    margins(r) {
      const W = window.innerWidth, H = window.innerHeight;
      return [{ x: r.right, y: 0, w: W - r.right, h: H }, { x: 0, y: r.bottom, w: W, h: H - r.bottom, below: true }];
    },
    // The largest buttons that fit in a box, among a few shapes of the pad.
    fit(box) {
      let best = null;
      for (const cr of PAD_SHAPES) {
        const cols = cr[0], rows = cr[1];
        const size = Math.min(PAD_BUTTON, (box.w - (cols + 1) * PAD_GAP) / cols, (box.h - (rows + 1) * PAD_GAP) / rows);
        if (!best || size > best.size) best = { cols, rows, size };
      }
      return best;
    },
    // The pad in the margin beside the page that takes the largest buttons;
    // hidden while no margin takes them (until the page stands smaller). A
    // strip is taken whatever the buttons' size there (a small window).
    show() {
      if (!this.element) return;
      let at = null, shape = null;
      if (this.touch && ENTRY_WAITS.includes(this.kind)) {
        const r = page.canvas.getBoundingClientRect();
        for (const m of this.margins(r)) {
          const s = this.fit(m);
          if ((s.size >= PAD_SMALLEST || (this.room && m.below)) && (!shape || s.size > shape.size)) {
            at = m;
            shape = s;
          }
        }
        if (shape) this.place(at, shape, r);
      }
      this.element.style.display = shape ? 'grid' : 'none';
    },
    place(at, shape, r) {
      const size = Math.max(8, Math.floor(shape.size));
      const w = shape.cols * size + (shape.cols + 1) * PAD_GAP, h = shape.rows * size + (shape.rows + 1) * PAD_GAP;
      const s = this.element.style;
      s.gridTemplateColumns = 'repeat(' + shape.cols + ',' + size + 'px)';
      s.gridAutoRows = size + 'px';
      const order = shape.cols === 3 ? PAD_KEYS : PAD_ROW_KEYS;
      for (const b of this.element.children) b.style.order = order.indexOf(b.dataset.key);
      // At the bottom of its margin, beside the prompt band where the entry field is.
      s.left = Math.round(at.x + (at.w - w) / 2) + 'px';
      s.top = Math.round(at.y + Math.max(0, Math.min(at.h - h, (r.bottom - at.y) - h))) + 'px';
      // A word ("Enter") in smaller letters than a digit, to stay inside its button.
      for (const b of this.element.children) {
        b.style.fontSize = Math.max(10, Math.round(size * (b.textContent.length > 1 ? 0.26 : 0.4))) + 'px';
      }
    },
  };

  function listenPointers() {
    pad.make();
    let pressed = null;
    // The fingers on the screen, on the page or on the pad. A primary
    // pointer is the first on the screen: any finger still counted was lost.
    window.addEventListener('pointerdown', (event) => {
      if (event.pointerType !== 'touch') return;
      if (event.isPrimary) pad.fingers.clear();
      pad.fingers.add(event.pointerId);
    }, true);
    const lifted = (event) => {
      if (!pad.fingers.delete(event.pointerId) || pad.fingers.size) return;
      // The last finger off: a page that waits on with nothing to read (a
      // touch that typed nothing) makes room for the pad now; otherwise the
      // program does as it reads the next key or opens the next wait.
      if (state.idle && !state.keys.length && !state.script) pad.waiting();
    };
    window.addEventListener('contextmenu', (event) => event.preventDefault());
    window.addEventListener('pointerdown', (event) => {
      if (pad.element.contains(event.target)) return;
      if (event.pointerType === 'touch') pad.touched();
      if (event.button === 2) {
        pushKey(BACK);
        return;
      }
      if (event.button !== 0 || !event.isPrimary) return;
      // Read on the page as it stood when the finger came down.
      const box = page.canvas.getBoundingClientRect();
      pressed = { box, at: pagePoint(event, box) };
    });
    window.addEventListener('pointerup', (event) => {
      if (pressed && event.isPrimary) {
        const from = pressed.at, to = pagePoint(event, pressed.box);
        pressed = null;
        const dx = to.x - from.x, dy = to.y - from.y;
        if (Math.abs(dx) >= SWIPE && Math.abs(dx) > 2 * Math.abs(dy)) pushKey(dx > 0 ? BACK : FORWARD);
        else if (Math.hypot(dx, dy) < TAP_SLOP) pushKey(TAP + unitText(from.x) + ',' + unitText(from.y));
      }
      lifted(event);
    });
    window.addEventListener('pointercancel', (event) => {
      pressed = null;
      lifted(event);
    });
    // A new size of the window: the page and the pad take it at once.
    window.addEventListener('resize', () => {
      pad.makeRoom(true);
      pad.show();
    });
  }

  function listen(canvas) {
    window.addEventListener('keydown', (event) => {
      if ((event.ctrlKey || event.metaKey) && !event.altKey) {
        const letter = event.key.toLowerCase();
        if (letter === 's') {
          event.preventDefault();
          if (!event.repeat) savePage();
        } else if (letter === 'p') {
          event.preventDefault();
          window.print();
        }
        return;
      }
      if (event.key === 'F11') {
        event.preventDefault();
        toggleFullScreen();
        return;
      }
      if (event.altKey || event.isComposing) return;
      const key = keyOf(event);
      if (key === null) return;
      event.preventDefault();
      pad.typed();
      pushKey(key);
    });
    listenPointers();
    // A double-click asks for full screen; a double tap on a touch screen is
    // two taps that go on two steps, and leaves the screen as it is.
    let lastPointer = 'mouse';
    window.addEventListener('pointerdown', (event) => { lastPointer = event.pointerType; }, true);
    canvas.addEventListener('dblclick', () => { if (lastPointer !== 'touch') toggleFullScreen(); });
    canvas.focus();
  }

  // Scripts: more keys in the key-script syntax, whether the program waits
  // for a key with no scripted key left (or has ended), and the trace.
  window.lesson = {
    keys(script) {
      state.script += String(script);
      wake();
    },
    idle() { return state.ended || (state.idle && !state.script && !state.keys.length); },
    trace() { return state.trace.length ? state.trace.join('\n') + '\n' : ''; },
    // The wait now open: "gate", "menu", "submenu", "step", "anykey" or "none".
    waitKind() { return pad.kind; },
  };
  const previousAbort = Module['onAbort'];
  Module['onAbort'] = (what) => {
    state.ended = true;
    if (previousAbort) previousAbort(what);
  };
})();
