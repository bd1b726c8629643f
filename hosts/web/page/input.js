// @ts-check
// The keyboard, the mouse and the fingers, as the desktop's window reads
// them: keys by the program's key table (keyOf), taps and swipes by its
// numbers (gestureKey), and the page's own keys (Ctrl+S, Ctrl+P, F11).

/**
 * @typedef {{ x: number, y: number }} Point
 * @typedef {{ tapSlop: number, swipe: number, back: string, forward: string, tap: string }} Gestures
 */

/**
 * The key the program reads for a key event; null for a key that types
 * nothing for it. Keys that type no text go by their names in the program's
 * key table (named), with the keypad's keys without NumLock by their codes
 * ("Numpad5", and "Numpad" for the others).
 * @param {{ key: string, code: string }} event
 * @param {Record<string, string>} named
 * @returns {string | null}
 */
export function keyOf(event, named) {
  // The keypad without NumLock: 5 is a key of its own, the others one key.
  if (event.code.startsWith('Numpad') && event.code !== 'NumpadEnter' && [...event.key].length !== 1) {
    return named[event.code === 'Numpad5' ? 'Numpad5' : 'Numpad'];
  }
  if (Object.prototype.hasOwnProperty.call(named, event.key)) return named[event.key];
  if ([...event.key].length === 1) return event.key;
  return null;
}

/** @param {number} v */
function unitText(v) { return String(Math.round(v * 100) / 100); }

/**
 * A press from one page position to another as a key: a swipe across the
 * page goes back (to the right) or on (to the left); a press that stays
 * within the tap slop is a tap at the page position where it came down, a
 * key of its own (the tap mark, then "X,Y"), resolved by the program at the
 * wait that reads it; anything else is nothing (null). Distances in page units.
 * @param {Point} from
 * @param {Point} to
 * @param {Gestures} g
 * @returns {string | null}
 */
export function gestureKey(from, to, g) {
  const dx = to.x - from.x, dy = to.y - from.y;
  if (Math.abs(dx) >= g.swipe && Math.abs(dx) > 2 * Math.abs(dy)) return dx > 0 ? g.back : g.forward;
  if (Math.hypot(dx, dy) < g.tapSlop) return g.tap + unitText(from.x) + ',' + unitText(from.y);
  return null;
}

/**
 * A pointer's position on the page standing in box r (the letterbox taken off).
 * @param {{ clientX: number, clientY: number }} event
 * @param {DOMRect} r
 * @param {{ width: number, height: number }} size the page's size in its units
 * @returns {Point}
 */
export function pagePoint(event, r, size) {
  return { x: (event.clientX - r.left) * size.width / r.width, y: (event.clientY - r.top) * size.height / r.height };
}

function toggleFullScreen() {
  if (document.fullscreenElement) {
    if (document.exitFullscreen) document.exitFullscreen();
  } else if (document.documentElement.requestFullscreen) {
    document.documentElement.requestFullscreen().catch(() => {});
  }
}

/** @param {number} n */
function two(n) { return String(n).padStart(2, '0'); }

/**
 * Ctrl+S: the page as a PNG, named after the program and the time.
 * @param {HTMLCanvasElement} canvas
 * @param {string} program
 */
function savePage(canvas, program) {
  const now = new Date();
  const stamp = now.getFullYear() + '-' + two(now.getMonth() + 1) + '-' + two(now.getDate()) + '_' +
      two(now.getHours()) + '-' + two(now.getMinutes()) + '-' + two(now.getSeconds());
  canvas.toBlob((blob) => {
    if (!blob) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = program + '-' + stamp + '.png';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }, 'image/png');
}

/**
 * @typedef {object} Listening
 * @property {HTMLCanvasElement} canvas the page's canvas
 * @property {string} program the program's name, for a saved page
 * @property {{ width: number, height: number }} size the page's size in its units
 * @property {Record<string, string>} keys the program's key table
 * @property {Gestures} gestures
 * @property {{ none: string, entry: string[] }} waits the program's names of no wait and of an entry field's waits
 * @property {ReturnType<typeof import('./pad.js').makePad>} pad
 * @property {(key: string) => void} pushKey a key for the program
 * @property {() => boolean} waitsEmpty the program waits with nothing typed or scripted left
 */

/**
 * The page's listeners, from the program's first wait on.
 * @param {Listening} on
 */
export function listen(on) {
  const canvas = on.canvas, pad = on.pad, pushKey = on.pushKey;
  window.addEventListener('keydown', (event) => {
    if ((event.ctrlKey || event.metaKey) && !event.altKey) {
      const letter = event.key.toLowerCase();
      if (letter === 's') {
        event.preventDefault();
        if (!event.repeat) savePage(canvas, on.program);
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
    const key = keyOf(event, on.keys);
    if (key === null) return;
    event.preventDefault();
    pad.typed();
    pushKey(key);
  });
  listenPointers(on);
  // A double-click asks for full screen; a double tap on a touch screen is
  // two taps that go on two steps, and leaves the screen as it is.
  let lastPointer = 'mouse';
  window.addEventListener('pointerdown', (event) => { lastPointer = event.pointerType; }, true);
  canvas.addEventListener('dblclick', () => { if (lastPointer !== 'touch') toggleFullScreen(); });
  canvas.focus();
}

// Taps, clicks and swipes: a right click goes back; a press is read on the
// page as it stood when it came down (gestureKey).
/** @param {Listening} on */
function listenPointers(on) {
  const canvas = on.canvas, pad = on.pad, pushKey = on.pushKey;
  pad.make(on.size, on.waits, on.keys);
  /** @type {{ box: DOMRect, at: Point } | null} */
  let pressed = null;
  // The fingers on the screen, on the page or on the pad. A primary
  // pointer is the first on the screen: any finger still counted was lost.
  window.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'touch') return;
    if (event.isPrimary) pad.fingers.clear();
    pad.fingers.add(event.pointerId);
  }, true);
  /** @param {PointerEvent} event */
  const lifted = (event) => {
    if (!pad.fingers.delete(event.pointerId) || pad.fingers.size) return;
    // The last finger off: a page that waits on with nothing to read (a
    // touch that typed nothing) makes room for the pad now; otherwise the
    // program does as it reads the next key or opens the next wait.
    if (on.waitsEmpty()) pad.waiting();
  };
  window.addEventListener('contextmenu', (event) => event.preventDefault());
  window.addEventListener('pointerdown', (event) => {
    if (pad.element && pad.element.contains(/** @type {Node} */ (event.target))) return;
    if (event.pointerType === 'touch') pad.touched();
    if (event.button === 2) {
      pushKey(on.gestures.back);
      return;
    }
    if (event.button !== 0 || !event.isPrimary) return;
    const box = canvas.getBoundingClientRect();
    pressed = { box, at: pagePoint(event, box, on.size) };
  });
  window.addEventListener('pointerup', (event) => {
    if (pressed && event.isPrimary) {
      const key = gestureKey(pressed.at, pagePoint(event, pressed.box, on.size), on.gestures);
      pressed = null;
      if (key !== null) pushKey(key);
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
