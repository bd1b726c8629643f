// @ts-check
// The bridge between the page and the program (Module of emscripten): the
// query string's options as the program's arguments, its WebAssembly
// unpacked and instantiated, what its host (hosts/web/web_host.cpp) calls
// (Module.page), window.lesson for scripts, and the one line a program that
// stops on an error leaves on the page.

/// <reference path="./emscripten.d.ts" />

import { makeToolbar } from './toolbar.js';
import { inkKey, makeInkLayer } from './ink.js';
import { ZOOM_STEP, isWhole, viewRect, wholeView, zoomedAbout } from './view.js';
import { toggleFullScreen } from './input.js';

const MAX_QUEUED_KEYS = 64;
// The options of a prepared run; any of them, or `trace` alone, keeps the trace.
const OPTIONS = ['seed', 'keys', 'walk'];
const TRACED = [...OPTIONS, 'trace'];

/**
 * The program's arguments of a query string (?seed=N&keys=SCRIPT&walk=N, the
 * key script URL-encoded), and whether the page keeps the trace: only for a
 * prepared run or one that asks for it, not for a teacher's plain opening.
 * @param {string} search
 * @returns {{ args: string[], tracing: boolean }}
 */
export function programArguments(search) {
  const query = new URLSearchParams(search);
  const args = [];
  for (const name of OPTIONS) {
    const value = query.get(name);
    if (value !== null) args.push('--' + name, value);
  }
  // trace=0 (or trace=false) asks for none.
  const traced = TRACED.some((name) => query.has(name) && !(name === 'trace' && /^(0|false)$/i.test(query.get(name) || '')));
  return { args, tracing: traced };
}

/**
 * The scheme a page opens in, by its index among `names`: the address's
 * (?scheme=NAME), else for a plain opening the one the device remembers,
 * else the first (normal). A prepared run (seed, keys, walk) goes by its
 * address alone, as a headless run by its options. An unknown name in the
 * address opens in the first, with a line on the console.
 * @param {string[]} names
 * @param {string} search
 * @param {string | null} remembered
 * @returns {number}
 */
export function openingScheme(names, search, remembered) {
  const query = new URLSearchParams(search);
  const asked = query.get('scheme');
  if (asked !== null) {
    if (names.includes(asked)) return names.indexOf(asked);
    console.warn('unknown scheme ' + asked + ': the schemes are ' + names.join(', ') + '; the page opens in ' + names[0]);
    return 0;
  }
  const prepared = OPTIONS.some((name) => query.has(name));
  if (!prepared && remembered !== null && names.includes(remembered)) return names.indexOf(remembered);
  return 0;
}

/**
 * The device's storage of a program's choices, one key each; storage that
 * is refused (a private window, a file:// page in some browsers) keeps
 * nothing and is no error.
 * @param {string} key
 */
function stored(key) {
  try {
    return window.localStorage.getItem(key);
  } catch {
    return null;
  }
}

/**
 * @param {string} key
 * @param {string} value
 */
function store(key, value) {
  try {
    window.localStorage.setItem(key, value);
  } catch {
    // not remembered
  }
}

/**
 * A Japanese voice of the browser's speech synthesis, or null.
 * @returns {SpeechSynthesisVoice | null}
 */
function japaneseVoice() {
  if (!window.speechSynthesis || typeof SpeechSynthesisUtterance !== 'function') return null;
  return window.speechSynthesis.getVoices().find((voice) => /^ja([-_]|$)/i.test(voice.lang)) || null;
}

/**
 * The bytes of base64 text.
 * @param {string} base64
 * @returns {Uint8Array}
 */
function bytesOf(base64) {
  const typed = /** @type {any} */ (Uint8Array);
  if (typed.fromBase64) return typed.fromBase64(base64);
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

/**
 * Module.instantiateWasm: the program's WebAssembly is packed into the page
 * gzip'd and in base64 (hosts/web/pack.py). Where the browser inflates gzip
 * itself, the program is compiled as it is inflated; elsewhere gunzip does it
 * first. prepare runs once the browser has its turn, while it compiles.
 * @param {(data: Uint8Array) => Uint8Array} gunzip
 * @param {() => void} prepare
 */
export function instantiator(gunzip, prepare) {
  /**
   * @param {WebAssembly.Imports} imports
   * @param {(instance: WebAssembly.Instance, module: WebAssembly.Module) => void} receive
   */
  return (imports, receive) => {
    const element = /** @type {HTMLElement} */ (document.getElementById('lesson-wasm'));
    let made;
    if (element.dataset.src) {
      // The site's page: the program beside it, compiled as it streamed in
      // from the page's first lines on (lessonCompiled, its head's script);
      // a server that names it otherwise than application/wasm, or a browser
      // that cannot stream, has it compiled once it is all there.
      const src = element.dataset.src;
      const whole = () => fetch(src).then((response) => {
        if (!response.ok) throw new Error(src + ': ' + response.status);
        return response.arrayBuffer();
      }).then((bytes) => WebAssembly.compile(bytes));
      const streamed = /** @type {any} */ (window).lessonCompiled;
      const compiled = streamed ? streamed.catch(whole) : whole();
      compiled.then((/** @type {WebAssembly.Module} */ module) => {
        performance.mark('lesson-compiled');
        return WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
      })
        .catch((/** @type {unknown} */ error) => abort(error));
      setTimeout(prepare);
      return {};
    }
    const packed = bytesOf(element.textContent || '');
    if (typeof DecompressionStream === 'function') {
      const body = /** @type {ReadableStream} */ (new Response(packed).body);
      const wasm = new Response(body.pipeThrough(new DecompressionStream('gzip')),
                                { headers: { 'Content-Type': 'application/wasm' } });
      made = WebAssembly.instantiateStreaming ? WebAssembly.instantiateStreaming(wasm, imports) :
        wasm.arrayBuffer().then((bytes) => WebAssembly.instantiate(bytes, imports));
    } else {
      made = Promise.resolve().then(() => WebAssembly.instantiate(gunzip(packed), imports));
    }
    made.then((result) => {
      performance.mark('lesson-compiled');
      receive(result.instance, result.module);
    }, (error) => abort(error));
    setTimeout(prepare);
    return {};
  };
}

/**
 * What the program's host calls, the page's state between it and the page's
 * listeners, and window.lesson.
 * @param {ReturnType<typeof import('./canvas.js').makeCanvas>} canvas
 * @param {ReturnType<typeof import('./pad.js').makePad>} pad
 * @param {boolean} tracing
 * @param {(on: any) => void} listen
 */
export function makeBridge(canvas, pad, tracing, listen) {
  const state = {
    /** @type {string[]} */
    keys: [],         // typed keys not yet taken by the program
    script: '',       // keys typed by window.lesson.keys, not yet taken
    idle: false,      // the program waits with nothing left to read
    ended: false,     // the program has ended, or stopped on an error
    resized: false,
    /** @type {(() => void) | null} */
    wake: null,
    /** @type {string[] | null} */
    trace: tracing ? [] : null,
    failure: '',      // the line of a program that stopped on an error
    viewDue: false,   // a new view waits for the next frame to be drawn
    lastLine: '',     // the last line the program wrote on stderr
    /** @type {(() => void)[]} */
    afterRedraw: [],  // what waits for the page to be drawn whole again
    /** @type {{ back: string, forward: string, menus: string[] }} */  // the program's keys and menu waits
    given: { back: '', forward: '', menus: [] },
    /** @type {{ name: string, palette: number[][], ink: number[][] }[]} */
    schemes: [],
    scheme: 0,        // the scheme the page is seen in, by its index
    spoken: '',       // the last step's text as it is said
    /** @type {SpeechSynthesisVoice | null} */
    voice: null,      // reading aloud is on, in this voice
    /** @type {HTMLElement | null} */
    live: null,       // the region a screen reader reads each step from
  };
  // The browser loads its voices when first asked.
  if (window.speechSynthesis) window.speechSynthesis.getVoices();
  const schemeKey = () => page.program + '.scheme';

  /**
   * The page seen in scheme i: the canvas's colours, and the ground around it.
   * @param {number} i
   */
  function useScheme(i) {
    state.scheme = i;
    const scheme = state.schemes[i];
    canvas.setPalette(scheme.palette);
    const ground = 'rgb(' + scheme.palette[15].join(',') + ')';
    document.documentElement.style.background = ground;
    if (document.body) document.body.style.background = ground;
  }

  // The next scheme, remembered on the device; the program draws the page
  // again in it (as after a new size) at once. Returns its name.
  function nextScheme() {
    if (!state.schemes.length) return '';
    useScheme((state.scheme + 1) % state.schemes.length);
    store(schemeKey(), state.schemes[state.scheme].name);
    state.resized = true;
    wake();
    return state.schemes[state.scheme].name;
  }

  /** @param {string} text */
  function speakAloud(text) {
    if (!state.voice || !text) return;
    const synth = window.speechSynthesis;
    synth.cancel();
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.lang = 'ja-JP';
    utterance.voice = state.voice;
    synth.speak(utterance);
  }

  /**
   * Reading aloud on or off: each new step then is spoken as it appears, in
   * a Japanese voice. Returns whether it is on: false when the browser has
   * no Japanese voice.
   * @param {boolean} on
   */
  function setReading(on) {
    if (!on) {
      if (state.voice) window.speechSynthesis.cancel();
      state.voice = null;
      return false;
    }
    state.voice = japaneseVoice();
    speakAloud(state.spoken);
    return state.voice !== null;
  }

  function wake() {
    state.idle = false;
    if (state.wake) state.wake();
  }

  /** @param {string} key */
  function pushKey(key) {
    if (state.keys.length < MAX_QUEUED_KEYS) state.keys.push(key);
    wake();
  }

  const waitsEmpty = () => state.idle && !state.keys.length && !state.script;

  // The page's view: the canvas draws the wanted one when the program next
  // redraws the page (as at a new size), once a frame however many moves a
  // pinch or a wheel made in it.
  const view = {
    wanted: () => canvas.wanted,
    drawn: () => canvas.view,
    /** @param {import('./view.js').View} v */
    set(v) {
      const w = canvas.wanted;
      if (v.x === w.x && v.y === w.y && v.zoom === w.zoom) return;
      canvas.wanted = v;
      if (state.viewDue) return;
      state.viewDue = true;
      const draw = () => {
        state.viewDue = false;
        state.resized = true;
        wake();
      };
      if (document.visibilityState === 'hidden') setTimeout(draw);
      else requestAnimationFrame(draw);
    },
  };
  /**
   * Does `then` with the whole page on the canvas, on white paper (Ctrl+S,
   * Ctrl+P), and puts the view and the scheme back after: the program draws
   * the page whole and again as it was, all before the browser shows a frame.
   * @param {() => void} then
   */
  function wholePage(then) {
    const was = canvas.wanted, seen = state.scheme;
    // Paper stays white: the normal scheme, unless the address asked for one.
    const paper = seen !== 0 && !new URLSearchParams(window.location.search).has('scheme');
    if (isWhole(canvas.view) && isWhole(was) && !paper) {
      then();
      return;
    }
    const redraw = () => {
      state.resized = true;
      wake();
    };
    if (paper) useScheme(0);
    canvas.wanted = wholeView();
    state.afterRedraw.push(() => {
      then();
      if (paper) useScheme(seen);
      canvas.wanted = was;
      redraw();
    });
    redraw();
  }
  // The teacher's pen: the tool in hand ('hand', a pen's letter, the
  // eraser's) and the pen a stylus draws with while the hand is chosen.
  const pen = { tool: 'hand', last: 'r', layer: /** @type {ReturnType<typeof makeInkLayer> | null} */ (null),
    table: /** @type {any} */ (null) };
  /** @param {string} letter */
  const choose = (letter) => {
    pen.tool = letter;
    if (letter !== 'hand' && letter !== pen.table.eraser) pen.last = letter;
    if (pad.toolbar) pad.toolbar.showTool(letter);
  };
  const middle = { x: 0.5, y: 0.5 };
  /** @type {Record<string, () => void>} */
  const tools = {
    back: () => pushKey(state.given.back),
    forward: () => pushKey(state.given.forward),
    'zoom-in': () => view.set(zoomedAbout(canvas.wanted, middle, ZOOM_STEP, canvas.size)),
    'zoom-out': () => view.set(zoomedAbout(canvas.wanted, middle, 1 / ZOOM_STEP, canvas.size)),
    'whole-page': () => view.set(wholeView()),
    'full-screen': () => toggleFullScreen(),
    'pen-red': () => choose('r'),
    'pen-blue': () => choose('b'),
    'pen-black': () => choose('k'),
    marker: () => choose('m'),
    eraser: () => choose(pen.table.eraser),
    hand: () => choose('hand'),
    scheme: () => { nextScheme(); },
    // Reading aloud on and off; where the browser has no Japanese voice the
    // button says so and stays off.
    'read-aloud': () => {
      const wanted = !state.voice;
      const on = setReading(wanted);
      if (pad.toolbar) pad.toolbar.setState('read-aloud', on, wanted && !on ? '読み上げ（日本語の音声がありません）' : '読み上げ');
    },
    'undo-ink': () => pushKey(inkKey(pen.table.mark, pen.table.undo)),
    'clear-ink': () => pushKey(inkKey(pen.table.mark, pen.table.clear)),
  };

  // The faces the program draws with (the page's @font-face rules), loaded at
  // once: they are decoded while the program is compiled. The program's first
  // page waits for them only while one is still loading: the browser settles
  // their promises no sooner than its next layout, well after they are ready.
  const faces = document.fonts ? [.../** @type {any} */ (document.fonts)] : [];
  const fontsLoaded = Promise.all(faces.map((face) => face.load().catch(() => null)));
  const facesSettled = () => faces.every((face) => face.status === 'loaded' || face.status === 'error');

  const page = {
    program: 'lesson',
    // While the program compiles: the page's canvas found, the toolbar built
    // (its pens take their colours as the program begins) and the device's
    // storage opened, where the place and the scheme are read at the start.
    prepare() {
      canvas.place(() => pad.makeRoom());
      if (!pad.toolbar) pad.toolbar = makeToolbar(tools);
      stored('');
      if (!performance.getEntriesByName('lesson-prepared').length) performance.mark('lesson-prepared');
    },

    /**
     * The program begins: its name and the numbers both sides go by (the
     * page's size, its colours, a path's steps, the key table, the taps'
     * and swipes' numbers and keys, the waits' names, the ink's mark and
     * pens), one JSON object.
     * @param {string} json
     */
    begin(json) {
      const c = JSON.parse(json);
      // Marks for the figures: the program starts, its faces are loaded, it
      // first waits for a key.
      performance.mark('lesson-start');
      this.program = c.program;
      state.given = { back: c.back, forward: c.forward, menus: c.waits.menus };
      state.schemes = c.schemes;
      canvas.setUp(c.page, c.schemes[0].palette, c.clear, c.steps);
      useScheme(openingScheme(c.schemes.map((/** @type {{ name: string }} */ s) => s.name), window.location.search,
                              stored(schemeKey())));
      pad.size = c.page;
      pen.table = c.ink;
      pen.last = c.ink.pens[0].pen;  // the pen starts red
      /** @type {Record<string, string>} */
      const inks = {};
      for (const p of c.ink.pens) inks[p.pen] = 'rgb(' + p.color.join(',') + ')';
      if (!pad.toolbar) pad.toolbar = makeToolbar(tools);
      pad.toolbar.setInks(inks);
      pad.toolbar.showTool(pen.tool);
      canvas.prepare(() => pad.makeRoom());
      pen.layer = makeInkLayer(canvas.canvas, c.page, c.ink, () => canvas.view);
      // The page to a screen reader: a picture labelled with its whole text,
      // and beside it a region, read as it changes, that holds each step.
      canvas.canvas.setAttribute('role', 'img');
      canvas.canvas.setAttribute('aria-label', c.program);
      const live = document.createElement('div');
      live.id = 'lesson-spoken';
      live.setAttribute('aria-live', 'polite');
      live.style.cssText = 'position:absolute;width:1px;height:1px;margin:-1px;padding:0;border:0;overflow:hidden;' +
          'clip:rect(0 0 0 0);clip-path:inset(50%);white-space:nowrap;';
      document.body.appendChild(live);
      state.live = live;
      pad.makeRoom();  // the page as it stands with the pad, from the first drawing on
      // Only a new size in device pixels draws the page again: not the first
      // notice every observer gets, nor a move of the letterboxed box.
      const resized = () => {
        const [w, h] = canvas.devicePixels();
        if (w === canvas.canvas.width && h === canvas.canvas.height) return;
        state.resized = true;
        wake();
      };
      window.addEventListener('resize', resized);
      if (window.ResizeObserver) new ResizeObserver(resized).observe(canvas.canvas);
      listen({
        canvas: canvas.canvas, program: c.program, size: c.page, keys: c.keys, waits: c.waits, pad, pushKey,
        waitsEmpty, nextScheme, setReading,
        gestures: { tapSlop: c.tapSlop, swipe: c.swipe, back: c.back, forward: c.forward, tap: c.tap },
        view, wholePage, pen,
      });
    },

    /** @param {number} cleared */
    ground(cleared) {
      canvas.ground(cleared);
      if (pen.layer) pen.layer.repaint();  // the stroke under the pen at the view drawn
      return canvas.scale;
    },

    /**
     * A wait begins: the step's new text as it is said, and the page's whole text.
     * @param {string} step
     * @param {string} text
     */
    speak(step, text) {
      state.spoken = step;
      if (state.live) state.live.textContent = step;
      canvas.canvas.setAttribute('aria-label', text || this.program);
      speakAloud(step);
    },
    cls() { canvas.cls(); },
    /** @type {typeof canvas.rects} */
    rects(rects, color) { canvas.rects(rects, color); },
    /** @type {typeof canvas.path} */
    path(steps, fill, stroke, width) { canvas.path(steps, fill, stroke, width); },
    /** @type {typeof canvas.glyphs} */
    glyphs(family, bold, italic, across, height, color, outline, placed) {
      canvas.glyphs(family, bold, italic, across, height, color, outline, placed);
    },
    /** @type {typeof canvas.areaBegin} */
    areaBegin(x0, y0, x1, y1, cleared) { canvas.areaBegin(x0, y0, x1, y1, cleared); },
    areaEnd() { canvas.areaEnd(); },
    /** @type {typeof canvas.inkStroke} */
    inkStroke(path, dot, r, g, b, opacity, width) { canvas.inkStroke(path, dot, r, g, b, opacity, width); },
    /** @type {typeof canvas.ink} */
    ink(family, bold, italic, codePoint) { return canvas.ink(family, bold, italic, codePoint); },

    // The page is drawn whole again: what waited for it goes on.
    redrawn() {
      const waiting = state.afterRedraw;
      state.afterRedraw = [];
      for (const then of waiting) then();
    },

    takeResized() {
      const r = state.resized;
      state.resized = false;
      return r ? 1 : 0;
    },

    // The faces, asked for when the page's script first ran.
    loadFonts() {
      const marked = () => { performance.mark('lesson-fonts'); };
      return facesSettled() ? marked() : fontsLoaded.then(marked);
    },

    /**
     * Sleeps up to ms; a key, a script or a new size ends the sleep early.
     * @param {number} ms
     * @returns {Promise<void>}
     */
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

    /**
     * A string for the program: UTF-8 in memory the program frees; 0 for none.
     * @param {string | undefined} text
     */
    give(text) {
      if (!text) return 0;
      const size = Module.lengthBytesUTF8(text) + 1;
      const at = Module._malloc(size);
      Module.stringToUTF8(text, at, size);
      return at;
    },
    takeKey() {
      const key = state.keys.shift();
      // A stroke the program takes it draws on the page at once, in this same turn.
      if (key && pen.table && key[0] === pen.table.mark && pen.layer) pen.layer.taken();
      return this.give(key);
    },
    takeScript() {
      const s = state.script;
      state.script = '';
      return this.give(s);
    },
    // A menu or a sub-menu opens on the whole page, so that the class sees every choice.
    /** @param {string} kind */
    setWait(kind) {
      if (state.given.menus.includes(kind)) view.set(wholeView());
      pad.setWait(kind);
    },
    // The program waits for a key: the first time marked for the figures,
    // every time told to the window (its step drawn whole).
    setIdle() {
      if (!state.idle) {
        if (!performance.getEntriesByName('lesson-first-wait').length) performance.mark('lesson-first-wait');
        window.dispatchEvent(new Event('lesson-waiting'));
      }
      state.idle = true;
      pad.waiting();
    },
    // Whether the program hands the page its trace (trace): 1 or 0.
    tracing() { return state.trace ? 1 : 0; },
    /** @param {string} line */
    trace(line) { if (state.trace) state.trace.push(line); },
    end() { state.ended = true; },
    // The program has ended with this status: an error's shows its last line over the page.
    /** @param {number} status */
    exited(status) {
      state.ended = true;
      if (status !== 0) stopped(state.lastLine || this.program + ': stopped with status ' + status);
    },
  };

  /**
   * The program has stopped on an error: its line, over the page, the first
   * such line only; nothing waits any more.
   * @param {string} line
   */
  function stopped(line) {
    state.ended = true;
    if (state.failure) return;
    state.failure = line.split('\n')[0];
    const el = document.createElement('div');
    el.id = 'failure';
    el.setAttribute('role', 'alert');
    el.style.cssText = 'position:fixed;left:0;right:0;top:0;z-index:2;margin:0;padding:8px 12px;' +
        'font:18px/1.3 sans-serif;color:#000;background:#fdd;border-bottom:2px solid #c00;' +
        'white-space:nowrap;overflow:hidden;text-overflow:ellipsis;';
    el.textContent = state.failure;
    document.body.appendChild(el);
    if (pad.element) pad.element.style.display = 'none';
  }

  // Scripts: more keys in the key-script syntax, whether the program waits
  // for a key with no scripted key left (or has ended), and the trace (kept
  // only for an address with seed, keys, walk or trace in its query).
  const lesson = {
    /** @param {string} script */
    keys(script) {
      state.script += String(script);
      wake();
    },
    idle() { return state.ended || (state.idle && !state.script && !state.keys.length && !state.viewDue && !state.resized); },
    trace() { return state.trace && state.trace.length ? state.trace.join('\n') + '\n' : ''; },
    // The wait now open, by the program's name for it ("gate", "menu", ...).
    waitKind() { return pad.kind; },
    // The page rectangle shown, in page units: {x: 0, y: 0, width: 1344, height: 720} for the whole page.
    view() { return viewRect(canvas.view, canvas.size); },
    // The last step's text as it is said.
    spoken() { return state.spoken; },
    // The scheme the page is seen in, and the next one (its name).
    scheme() { return state.schemes.length ? state.schemes[state.scheme].name : ''; },
    nextScheme,
    setReading,
  };

  // The scheme the page is seen in: its name, its sixteen colours and the
  // pen's inks as it shows them (red, blue, black, the marker), each [r, g, b].
  const scheme = () => state.schemes[state.scheme];

  // A line the program wrote on stderr: kept, shown only if it ends with an error.
  /** @param {string} line */
  const said = (line) => { state.lastLine = line.split('\n')[0]; };

  return { page, lesson, pushKey, stopped, said, nextScheme, setReading, scheme };
}
