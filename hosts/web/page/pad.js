// @ts-check
// The number pad of a touch screen: while an entry field waits, beside the
// page, in the margin below or to the right of it. On a screen that can be
// touched it stands ready from the first wait on; a key typed on a keyboard
// puts it away (and the page is whole again), a touch brings it back.
// The board's toolbar stands in a strip of the window beside them (toolStrip),
// the page and the pad in the rest (the stage). Where it all goes and how
// large (fit, margins, roomWanted, layout, toolStrip) is worked out from the
// window's size alone; makePad puts it on the page.

import { TOOL_GAP, TOOL_SMALLEST, lineButton } from './toolbar.js';

// In three columns as on a keypad; in longer rows as the digits are counted.
// A button's key in the key-script syntax; Backspace and Enter type what the
// program's key table gives those keys.
export const PAD_KEYS = ['7', '8', '9', '4', '5', '6', '1', '2', '3', '0', '-', '.', '/', '\\b', '\\n'];
export const PAD_ROW_KEYS = ['1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '-', '.', '/', '\\b', '\\n'];
/** @type {Record<string, string>} */
const PAD_NAMED = { '\\b': 'Backspace', '\\n': 'Enter' };
/** @type {Record<string, string>} */
const PAD_LABELS = { '\\b': '\u232b', '\\n': 'Enter' };
// CSS pixels: the gaps, the largest buttons, and the smallest a finger hits.
const PAD_GAP = 6, PAD_BUTTON = 72;
export const PAD_SMALLEST = 44;
const PAD_SHAPES = [[3, 5], [5, 3], [8, 2], [15, 1]];  // columns, rows

/**
 * @typedef {{ x: number, y: number, w: number, h: number, below?: boolean }} Margin
 * @typedef {{ cols: number, rows: number, size: number }} Shape
 * @typedef {{ left: number, top: number, right: number, bottom: number }} Box
 * @typedef {{ width: number, height: number }} Size
 */

/**
 * The largest buttons that fit in a box, among a few shapes of the pad.
 * @param {{ w: number, h: number }} box
 * @returns {Shape}
 */
export function fit(box) {
  let best = null;
  for (const cr of PAD_SHAPES) {
    const cols = cr[0], rows = cr[1];
    const size = Math.min(PAD_BUTTON, (box.w - (cols + 1) * PAD_GAP) / cols, (box.h - (rows + 1) * PAD_GAP) / rows);
    if (!best || size > best.size) best = { cols, rows, size };
  }
  return /** @type {Shape} */ (best);
}

/**
 * The margins right of and below a page standing in box r, in a window W x H.
 * @param {Box} r
 * @param {number} W
 * @param {number} H
 * @returns {Margin[]}
 */
export function margins(r, W, H) {
  return [{ x: r.right, y: 0, w: W - r.right, h: H }, { x: 0, y: r.bottom, w: W, h: H - r.bottom, below: true }];
}

/**
 * The height of the strip below the page for the pad: none where the page
 * fills the window as it would with no pad and a margin beside it takes the
 * pad.
 * @param {number} W
 * @param {number} H
 * @param {Size} page the page's size in its units
 */
export function roomWanted(W, H, page) {
  const width = Math.min(W, H * page.width / page.height), height = width * page.height / page.width;
  const whole = { left: (W - width) / 2, top: (H - height) / 2, right: (W + width) / 2, bottom: (H + height) / 2 };
  if (margins(whole, W, H).some((m) => fit(m).size >= PAD_SMALLEST)) return 0;
  return Math.floor(fit({ w: W, h: PAD_BUTTON + 2 * PAD_GAP }).size) + 2 * PAD_GAP;
}

/**
 * The strip of a touch screen's window for a toolbar of `count` buttons: a
 * column at its right edge or a row along its bottom, whichever leaves the
 * page larger once the pad has its room in the rest; the buttons as large as
 * the strip's length allows (at most 72 CSS pixels, at least 44 where they fit).
 * @param {number} W
 * @param {number} H
 * @param {Size} page
 * @param {number} count
 * @returns {{ side: 'right' | 'bottom', size: number, thickness: number, W: number, H: number, room: number }}
 */
export function toolStrip(W, H, page, count) {
  /** @type {ReturnType<typeof toolStrip> | null} */
  let best = null, bestWidth = -1;
  for (const side of /** @type {const} */ (['bottom', 'right'])) {
    const size = lineButton(count, side === 'right' ? H : W);
    if (size < TOOL_SMALLEST && best) continue;
    const thickness = size + 2 * TOOL_GAP;
    const w = side === 'right' ? W - thickness : W, h = side === 'right' ? H : H - thickness;
    const room = roomWanted(w, h, page);
    const width = Math.min(w, (h - room) * page.width / page.height);
    if (!best || (best.size < TOOL_SMALLEST && size >= TOOL_SMALLEST) || width > bestWidth + 0.5) {
      best = { side, size, thickness, W: w, H: h, room };
      bestWidth = width;
    }
  }
  return /** @type {ReturnType<typeof toolStrip>} */ (best);
}

/**
 * The pad in the margin beside the page (standing in box r) that takes the
 * largest buttons; null while no margin takes them (until the page stands
 * smaller). A strip (room) is taken whatever the buttons' size there (a
 * small window).
 * @param {number} W
 * @param {number} H
 * @param {Box} r
 * @param {number} room
 * @returns {{ at: Margin, shape: Shape } | null}
 */
export function layout(W, H, r, room) {
  let at = null, shape = null;
  for (const m of margins(r, W, H)) {
    const s = fit(m);
    if ((s.size >= PAD_SMALLEST || (room && m.below)) && (!shape || s.size > shape.size)) {
      at = m;
      shape = s;
    }
  }
  return at && shape ? { at, shape } : null;
}

/**
 * The pad on the page: its buttons type into pushKey what the program's key
 * table (keys) names; canvas is the page's canvas, whose box it stands beside.
 * @param {{ canvas: HTMLCanvasElement | null }} page
 * @param {(key: string) => void} pushKey
 */
export function makePad(page, pushKey) {
  const touchScreen = (window.matchMedia !== undefined && window.matchMedia('(pointer: coarse)').matches) ||
      navigator.maxTouchPoints > 0;
  return {
    /** @type {HTMLDivElement | null} */
    element: null,
    touch: touchScreen,
    kind: '',  // the wait now open, by the program's name for it
    /** @type {string[]} */
    entryWaits: [],
    /** @type {Size | null} */
    size: null,  // the page's, once the program has begun
    fingers: new Set(),  // the touches on the screen now
    /** @type {ReturnType<typeof import('./toolbar.js').makeToolbar> | null} */
    toolbar: null,  // the board's toolbar, in its strip on a touch screen

    /**
     * The program's numbers: the page's size, the waits of an entry field and
     * the name of none, and its key table.
     * @param {Size} size
     * @param {{ none: string, entry: string[] }} waits
     * @param {Record<string, string>} keys
     */
    make(size, waits, keys) {
      this.size = size;
      this.kind = waits.none;
      this.entryWaits = waits.entry;
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
        const typed = PAD_NAMED[k] ? keys[PAD_NAMED[k]] : k;
        b.addEventListener('pointerdown', (event) => {
          event.preventDefault();
          pushKey(typed);
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
    /** @param {string} kind */
    setWait(kind) { this.kind = kind; this.settle(); },

    // Where no margin beside the page takes buttons a finger can hit (a wide
    // screen, as most whiteboards are), the page stands a little smaller
    // above a strip for the pad, from one wait to the next for as long as the
    // pad is wanted. The page changes its size only with no finger on the
    // screen: a touch is read on the page it came down on.
    room: 0,
    /** @type {ReturnType<typeof toolStrip> | null} */
    strip: null,  // the toolbar's strip, on a touch screen
    settle() {
      if (!this.fingers.size) this.makeRoom();
      this.show();
    },
    // The program waits for a key: a page still to stand smaller for the pad
    // or the toolbar, or whole again, does so now.
    waiting() {
      if (JSON.stringify(this.stripDue()) !== JSON.stringify(this.strip)) this.settle();
    },
    stripDue() {
      if (!this.touch || !this.size) return null;
      return toolStrip(window.innerWidth, window.innerHeight, this.size, this.toolbar ? this.toolbar.count : 0);
    },
    // The stage: the window less the toolbar's strip, where the page and the pad stand.
    stage() { return this.strip ? this.strip : { W: window.innerWidth, H: window.innerHeight }; },
    /** @param {boolean} [resized] */
    makeRoom(resized) {
      const strip = this.stripDue();
      if ((JSON.stringify(strip) === JSON.stringify(this.strip) && !resized) || !page.canvas || !this.size) return;
      this.strip = strip;
      this.room = strip ? strip.room : 0;
      const style = page.canvas.style;
      if (!strip) {
        style.width = style.height = style.bottom = style.right = '';
        return;
      }
      const width = Math.min(strip.W, (strip.H - strip.room) * this.size.width / this.size.height);
      style.width = width + 'px';
      style.height = width * this.size.height / this.size.width + 'px';
      style.bottom = (strip.room + (strip.side === 'bottom' ? strip.thickness : 0)) + 'px';
      style.right = (strip.side === 'right' ? strip.thickness : 0) + 'px';
    },
    show() {
      if (!this.element || !page.canvas) return;
      let shown = null;
      if (this.toolbar) {
        if (this.strip) this.toolbar.dock(this.strip.side, this.strip.size);
        else if (this.toolbar.docked) this.toolbar.hide();
      }
      if (this.touch && this.entryWaits.includes(this.kind)) {
        const r = page.canvas.getBoundingClientRect();
        const stage = this.stage();
        shown = layout(stage.W, stage.H, r, this.room);
        if (shown) this.place(shown.at, shown.shape, r);
      }
      this.element.style.display = shown ? 'grid' : 'none';
    },
    /**
     * @param {Margin} at
     * @param {Shape} shape
     * @param {Box} r
     */
    place(at, shape, r) {
      const el = /** @type {HTMLDivElement} */ (this.element);
      const size = Math.max(8, Math.floor(shape.size));
      const w = shape.cols * size + (shape.cols + 1) * PAD_GAP, h = shape.rows * size + (shape.rows + 1) * PAD_GAP;
      const s = el.style;
      s.gridTemplateColumns = 'repeat(' + shape.cols + ',' + size + 'px)';
      s.gridAutoRows = size + 'px';
      const order = shape.cols === 3 ? PAD_KEYS : PAD_ROW_KEYS;
      for (const b of el.children) {
        const button = /** @type {HTMLElement} */ (b);
        button.style.order = String(order.indexOf(button.dataset.key || ''));
      }
      // At the bottom of its margin, beside the prompt band where the entry field is.
      s.left = Math.round(at.x + (at.w - w) / 2) + 'px';
      s.top = Math.round(at.y + Math.max(0, Math.min(at.h - h, (r.bottom - at.y) - h))) + 'px';
      // A word ("Enter") in smaller letters than a digit, to stay inside its button.
      for (const b of el.children) {
        const button = /** @type {HTMLElement} */ (b);
        button.style.fontSize = Math.max(10, Math.round(size * ((button.textContent || '').length > 1 ? 0.26 : 0.4))) +
            'px';
      }
    },
  };
}
