// @ts-check
// The board's toolbar: the tools a teacher at the board reaches for, each a
// button with an icon that needs no reading and its name in Japanese. On a
// touch screen it stands in a strip beside the page (pad.js places it); with
// a mouse alone it shows over the page's top right corner when the mouse
// moves and goes after a few seconds of stillness. It is never drawn on the
// page: a saved page, a print and the trace never show it.

/** @typedef {{ tool: string, label: string, icon: string, pen?: string }} Tool */

// The icons: 24 x 24 paths, stroked in the button's colour.
/** @param {string} d */
const icon = (d) => '<svg viewBox="0 0 24 24" width="60%" height="60%" aria-hidden="true" fill="none" ' +
    'stroke="currentColor" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round">' + d + '</svg>';
const LENS = '<circle cx="10" cy="10" r="6.5"/><path d="M15 15l6 6"/>';
const PEN = '<path d="M4 20l1-5L16 4l4 4L9 19z" fill="currentColor" fill-opacity="0.35"/><path d="M14 6l4 4"/>';

/** @type {Tool[]} */
export const TOOLS = [
  { tool: 'back', label: '戻る', icon: icon('<path d="M15 4l-8 8 8 8"/>') },
  { tool: 'forward', label: '進む', icon: icon('<path d="M9 4l8 8-8 8"/>') },
  { tool: 'zoom-in', label: '拡大', icon: icon(LENS + '<path d="M7 10h6M10 7v6"/>') },
  { tool: 'zoom-out', label: '縮小', icon: icon(LENS + '<path d="M7 10h6"/>') },
  { tool: 'whole-page', label: 'ページ全体', icon: icon('<rect x="3" y="6" width="18" height="12" rx="1"/>' +
      '<path d="M3 10V6h4M21 10V6h-4M3 14v4h4M21 14v4h-4"/>') },
  { tool: 'full-screen', label: '全画面', icon: icon('<path d="M4 9V4h5M20 9V4h-5M4 15v5h5M20 15v5h-5"/>') },
  // The pen's tools: a pen of each colour (its icon in the ink's colour), the
  // marker, the eraser, undo, clear, and the hand that turns pages again.
  { tool: 'pen-red', label: '赤ペン', icon: icon(PEN), pen: 'r' },
  { tool: 'pen-blue', label: '青ペン', icon: icon(PEN), pen: 'b' },
  { tool: 'pen-black', label: '黒ペン', icon: icon(PEN), pen: 'k' },
  { tool: 'marker', label: 'マーカー', icon: icon('<path d="M5 19h14" stroke-width="5" opacity="0.8"/><path d="M8 15l7-11 4 3-7 11z"/>'), pen: 'm' },
  { tool: 'eraser', label: '消しゴム', icon: icon('<path d="M4 16l9-10 7 6-8 8H8z"/><path d="M9 11l6 6M12 20h8"/>'), pen: 'e' },
  { tool: 'undo-ink', label: '書き込みを一つ戻す', icon: icon('<path d="M9 5L4 10l5 5"/><path d="M4 10h10a6 6 0 010 12h-3"/>') },
  { tool: 'clear-ink', label: '書き込みを全部消す', icon: icon('<path d="M4 7h16M9 7V4h6v3M6 7l1 13h10l1-13M10 11v6M14 11v6"/>') },
  // The page in the next colour scheme, and the page read aloud.
  { tool: 'scheme', label: '配色を切り替える', icon: icon('<circle cx="12" cy="12" r="8"/><path d="M12 4a8 8 0 000 16z" fill="currentColor"/>') },
  { tool: 'read-aloud', label: '読み上げ', icon: icon('<path d="M4 9h4l5-4v14l-5-4H4z"/><path d="M16 9a4 4 0 010 6M18.5 6.5a7.5 7.5 0 010 11"/>') },
  { tool: 'hand', label: '手のひら（ページめくり）', icon: icon('<path d="M8 13V5a1.5 1.5 0 013 0v6M11 11V3.5a1.5 1.5 0 013 0V11M14 11V5a1.5 1.5 0 013 0v8c0 5-3 8-7 8s-5-2-7-6l-1.5-3a1.5 1.5 0 012.5-1.5L8 13"/>'), pen: 'hand' },
];

// CSS pixels: the gap around buttons, the largest and the smallest (a finger's) buttons.
export const TOOL_GAP = 6;
export const TOOL_BUTTON = 72;
export const TOOL_SMALLEST = 44;
// With a mouse: the buttons' size, how many stand in a row, and how long the bar stays after the mouse stops.
const MOUSE_BUTTON = 44, MOUSE_ROW = 8, MOUSE_STAYS_MS = 3000;

/**
 * The size of the buttons of a line of `count` along `length` CSS pixels,
 * at most the largest; it may fall below the smallest a finger hits.
 * @param {number} count
 * @param {number} length
 */
export function lineButton(count, length) {
  return Math.min(TOOL_BUTTON, Math.floor((length - (count + 1) * TOOL_GAP) / count));
}

/**
 * The toolbar, its buttons doing what `actions` names for their tools; a
 * pen's icon is drawn in its ink's colour once it is given (setInks).
 * @param {Record<string, () => void>} actions
 */
export function makeToolbar(actions) {
  const el = document.createElement('div');
  el.id = 'toolbar';
  el.setAttribute('role', 'toolbar');
  el.setAttribute('aria-label', '道具');
  el.style.cssText = 'position:fixed;display:none;gap:' + TOOL_GAP + 'px;padding:' + TOOL_GAP + 'px;z-index:1;' +
      'box-sizing:border-box;touch-action:none;user-select:none;-webkit-user-select:none;';
  for (const t of TOOLS) {
    const b = document.createElement('button');
    b.type = 'button';
    b.tabIndex = -1;
    b.dataset.tool = t.tool;
    b.title = t.label;
    b.setAttribute('aria-label', t.label);
    b.innerHTML = t.icon;
    b.style.cssText = 'margin:0;padding:0;border:2px solid #999;border-radius:10px;background:#f2f2f2;color:#123;' +
        'display:flex;align-items:center;justify-content:center;touch-action:none;';
    if (t.pen) {
      b.dataset.pen = t.pen;
      b.setAttribute('aria-pressed', 'false');
    }
    b.addEventListener('pointerdown', (event) => {
      event.preventDefault();  // no focus taken, no tap on the page
      const act = actions[t.tool];
      if (act) act();
    });
    el.appendChild(b);
  }
  document.body.appendChild(el);
  let hideTimer = 0;
  const later = () => {
    clearTimeout(hideTimer);
    hideTimer = window.setTimeout(() => { if (!bar.docked && !el.matches(':hover')) el.style.display = 'none'; },
                                  MOUSE_STAYS_MS);
  };
  el.addEventListener('mouseleave', () => { if (!bar.docked) later(); });
  const bar = {
    element: el,
    count: TOOLS.length,
    /**
     * The pens' icons in their inks' colours (by the pen's letter).
     * @param {Record<string, string>} inks
     */
    setInks(inks) {
      for (const b of el.querySelectorAll('button[data-pen]')) {
        const button = /** @type {HTMLElement} */ (b);
        const ink = inks[button.dataset.pen || ''];
        if (ink) button.style.color = ink;
      }
    },
    // A button that is on or off (reading aloud), and what it says.
    /**
     * @param {string} tool
     * @param {boolean} on
     * @param {string} [label]
     */
    setState(tool, on, label) {
      const b = /** @type {HTMLElement | null} */ (el.querySelector(`button[data-tool="${tool}"]`));
      if (!b) return;
      b.setAttribute('aria-pressed', String(on));
      b.style.background = on ? '#cfe3ff' : '#f2f2f2';
      if (label) {
        b.title = label;
        b.setAttribute('aria-label', label);
      }
    },
    // The tool in hand ('hand', or a pen's letter) shown pressed.
    /** @param {string} pen */
    showTool(pen) {
      for (const b of el.querySelectorAll('button[data-pen]')) {
        const button = /** @type {HTMLElement} */ (b);
        button.setAttribute('aria-pressed', String(button.dataset.pen === pen));
        button.style.background = button.dataset.pen === pen ? '#cfe3ff' : '#f2f2f2';
        button.style.borderColor = button.dataset.pen === pen ? '#005aff' : '#999';
      }
    },
    /**
     * In a strip of the window (a touch screen): a column at its right edge
     * or a row along its bottom, buttons of `size` CSS pixels, the line's
     * buttons standing at its bottom or right end.
     * @param {'right' | 'bottom'} side
     * @param {number} size
     */
    dock(side, size) {
      clearTimeout(hideTimer);
      const s = el.style;
      const n = el.children.length, length = n * size + (n + 1) * TOOL_GAP;
      s.display = 'grid';
      s.background = '#fff';
      s.gridTemplateColumns = side === 'right' ? size + 'px' : 'repeat(' + n + ',' + size + 'px)';
      s.gridAutoRows = size + 'px';
      s.left = s.top = s.right = s.bottom = '';
      if (side === 'right') {
        s.right = '0px';
        s.top = Math.max(0, window.innerHeight - length) + 'px';
      } else {
        s.bottom = '0px';
        s.left = Math.max(0, window.innerWidth - length) + 'px';
      }
      this.docked = true;
      this.sizeButtons(size);
    },
    docked: false,
    // With a mouse alone: over the page's top right corner, shown while the mouse moves.
    /** @param {DOMRect} page */
    float(page) {
      const s = el.style;
      s.gridTemplateColumns = 'repeat(' + Math.min(MOUSE_ROW, el.children.length) + ',' + MOUSE_BUTTON + 'px)';
      s.gridAutoRows = MOUSE_BUTTON + 'px';
      s.background = 'rgba(255,255,255,0.85)';
      s.left = s.bottom = '';
      s.top = Math.round(page.top) + 'px';
      s.right = Math.round(window.innerWidth - page.right) + 'px';
      this.docked = false;
      this.sizeButtons(MOUSE_BUTTON);
    },
    /** @param {number} size */
    sizeButtons(size) {
      for (const b of el.children) {
        /** @type {HTMLElement} */ (b).style.width = /** @type {HTMLElement} */ (b).style.height = size + 'px';
      }
    },
    // The mouse moved: the floating bar shows, and goes after a few seconds of stillness.
    /** @param {DOMRect} page */
    stirred(page) {
      if (this.docked) return;
      this.float(page);
      el.style.display = 'grid';
      later();
    },
    hide() {
      clearTimeout(hideTimer);
      el.style.display = 'none';
      this.docked = false;
    },
  };
  return bar;
}
