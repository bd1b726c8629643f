// @ts-check
// The keyboard, the mouse and the fingers, as the desktop's window reads
// them: keys by the program's key table (keyOf), taps and swipes by its
// numbers (gestureKey), the page's own keys (Ctrl+S, Ctrl+P, F11), and the
// view: two fingers pinch and move it, Ctrl and the wheel (a touchpad's
// pinch) zoom about the pointer, Ctrl+=, Ctrl+- and Ctrl+0 in place of the
// browser's own zoom; a zoomed page moves under a finger, a drag and the wheel.

import { ZOOM_STEP, isWhole, panned, placing, shownAt, wholeView, zoomedAbout } from './view.js';

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
 * @param {boolean} [zoomed] the page was zoomed when the press came down
 * @returns {string | null}
 */
export function gestureKey(from, to, g, zoomed) {
  const dx = to.x - from.x, dy = to.y - from.y;
  // A swipe turns the page only at the whole page.
  if (!zoomed && Math.abs(dx) >= g.swipe && Math.abs(dx) > 2 * Math.abs(dy)) return dx > 0 ? g.back : g.forward;
  if (Math.hypot(dx, dy) < g.tapSlop) return g.tap + unitText(from.x) + ',' + unitText(from.y);
  return null;
}

/**
 * A pointer's position on the page standing in box r (the letterbox taken
 * off), as the view shows it.
 * @param {{ clientX: number, clientY: number }} event
 * @param {DOMRect} r
 * @param {{ width: number, height: number }} size the page's size in its units
 * @param {import('./view.js').View} [view] as drawn; the whole page when none
 * @returns {Point}
 */
export function pagePoint(event, r, size, view) {
  if (!view) view = wholeView();
  const at = shownAt(event, r);
  return { x: view.x + at.x * size.width / view.zoom, y: view.y + at.y * size.height / view.zoom };
}

/**
 * The keys of the view in place of the browser's own zoom: Ctrl+= (Ctrl++)
 * in, Ctrl+- out, Ctrl+0 the whole page; null for any other key.
 * @param {{ key: string }} event
 * @returns {'in' | 'out' | 'whole' | null}
 */
export function zoomKeyOf(event) {
  if (event.key === '=' || event.key === '+') return 'in';
  if (event.key === '-' || event.key === '_') return 'out';
  if (event.key === '0') return 'whole';
  return null;
}

/**
 * A wheel's turn in CSS pixels, whatever unit the browser counts it in.
 * @param {WheelEvent} event
 */
function wheelPixels(event) {
  const unit = event.deltaMode === 1 ? 33 : event.deltaMode === 2 ? 720 : 1;
  return { x: event.deltaX * unit, y: event.deltaY * unit };
}
// Ctrl and a wheel's turn of this many CSS pixels zooms in or out twice.
const WHEEL_DOUBLING = 200;

export function toggleFullScreen() {
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
 * @property {Zooming} view the page's view
 * @property {() => string} nextScheme the page in the next colour scheme: its name
 * @property {(then: () => void) => void} wholePage does `then` with the whole page drawn on the canvas, the view after
 * @property {{ tool: string, last: string, layer: any, table: any }} pen the tool in hand, the pen a stylus takes, the stroke's layer
 */

/**
 * @typedef {object} Zooming
 * @property {() => import('./view.js').View} wanted the view as it will next be drawn
 * @property {() => import('./view.js').View} drawn the view the page shows now
 * @property {(v: import('./view.js').View) => void} set the view wanted, drawn at the program's next turn
 */

/**
 * The page's listeners, from the program's first wait on.
 * @param {Listening} on
 */
export function listen(on) {
  const canvas = on.canvas, pad = on.pad, pushKey = on.pushKey;
  const size = on.size, view = on.view;
  window.addEventListener('keydown', (event) => {
    if ((event.ctrlKey || event.metaKey) && !event.altKey) {
      const letter = event.key.toLowerCase();
      const zoom = zoomKeyOf(event);
      if (letter === 'd') {
        // Ctrl+D: the page in the next colour scheme.
        event.preventDefault();
        if (!event.repeat) on.nextScheme();
      } else if (letter === 'z' && !event.shiftKey) {
        // Ctrl+Z takes back the page's last stroke or erasure.
        event.preventDefault();
        if (!event.repeat) on.pushKey(on.pen.table.mark + on.pen.table.undo);
      } else if (zoom) {
        event.preventDefault();
        const now = view.wanted(), middle = { x: 0.5, y: 0.5 };
        view.set(zoom === 'whole' ? wholeView() : zoomedAbout(now, middle, zoom === 'in' ? ZOOM_STEP : 1 / ZOOM_STEP, size));
      } else if (letter === 's') {
        event.preventDefault();
        if (!event.repeat) on.wholePage(() => savePage(canvas, on.program));
      } else if (letter === 'p') {
        event.preventDefault();
        on.wholePage(() => window.print());
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
// page as it stood when it came down (gestureKey). Two fingers pinch the view
// and move it; on a zoomed page one finger or a drag moves it, and the wheel;
// Ctrl and the wheel zoom about the pointer.
/** @param {Listening} on */
function listenPointers(on) {
  const canvas = on.canvas, pad = on.pad, pushKey = on.pushKey, size = on.size, view = on.view;
  pad.make(on.size, on.waits, on.keys);
  /** @type {{ box: DOMRect, at: Point, client: Point, zoomed: boolean, dragging: boolean } | null} */
  let pressed = null;
  // The fingers on the page and where they are; a pinch of two: the page
  // point between them when it began, the zoom then and their distance.
  /** @type {Map<number, Point>} */
  const touches = new Map();
  /** @type {{ at: Point, zoom: number, distance: number } | null} */
  let pinch = null;
  let pinched = false;  // till every finger is off the page: no tap, no swipe
  const two = () => {
    const [a, b] = [...touches.values()];
    return { mid: { clientX: (a.x + b.x) / 2, clientY: (a.y + b.y) / 2 }, distance: Math.max(1, Math.hypot(a.x - b.x, a.y - b.y)) };
  };
  const onUi = (/** @type {EventTarget | null} */ target) =>
    [pad.element, pad.toolbar && pad.toolbar.element].some((el) => el && el.contains(/** @type {Node} */ (target)));
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
  // The pen: a stylus always draws, with the pen chosen; a finger or the
  // mouse draws while a pen is in hand. A stroke is never a tap nor a swipe.
  const pen = on.pen;
  /** @type {number | null} */
  let drawing = null;  // the pointer drawing a stroke
  /** @param {PointerEvent} event */
  const drawsWith = (event) => {
    if (event.pointerType === 'pen') {
      if (event.button === 5) return pen.table.eraser;  // the stylus's eraser end
      return pen.tool === 'hand' ? pen.last : pen.tool;
    }
    return pen.tool === 'hand' || event.button !== 0 ? null : pen.tool;
  };
  /** @param {{ clientX: number, clientY: number }} event */
  const onPage = (event) => {
    const box = canvas.getBoundingClientRect();
    const p = pagePoint(event, box, size, view.drawn());
    return { x: Math.min(size.width, Math.max(0, p.x)), y: Math.min(size.height, Math.max(0, p.y)) };
  };
  window.addEventListener('pointerdown', (event) => {
    if (onUi(event.target)) return;
    if (event.pointerType === 'touch') {
      pad.touched();
      touches.set(event.pointerId, { x: event.clientX, y: event.clientY });
    }
    const letter = drawsWith(event);
    if (letter && drawing === null && !pinched && touches.size <= 1 && event.target === canvas) {
      drawing = event.pointerId;
      pressed = null;
      pen.layer.begin(letter, onPage(event));
      return;
    }
    if (event.pointerType === 'touch') {
      if (touches.size === 2) {
        // Two fingers: a pinch, never a tap nor a swipe, nor a stroke.
        if (drawing !== null) pen.layer.cancel();
        drawing = null;
        pressed = null;
        pinched = true;
        const fingers = two();
        const box = canvas.getBoundingClientRect();
        pinch = { at: pagePoint(fingers.mid, box, size, view.wanted()), zoom: view.wanted().zoom,
          distance: fingers.distance };
        return;
      }
      if (touches.size > 2 || pinched) return;
    }
    if (event.button === 2) {
      pushKey(on.gestures.back);
      return;
    }
    if (event.button !== 0 || !event.isPrimary) return;
    const box = canvas.getBoundingClientRect();
    const drawn = view.drawn();
    pressed = { box, at: pagePoint(event, box, size, drawn), client: { x: event.clientX, y: event.clientY },
      zoomed: !isWhole(drawn), dragging: false };
  });
  window.addEventListener('pointermove', (event) => {
    if (event.pointerType === 'touch' && touches.has(event.pointerId)) {
      touches.set(event.pointerId, { x: event.clientX, y: event.clientY });
    }
    if (drawing === event.pointerId) {
      // Every sample the browser gathered since the last frame, for a smooth line.
      const samples = event.getCoalescedEvents ? event.getCoalescedEvents() : [];
      for (const e of samples.length ? samples : [event]) pen.layer.move(onPage(e));
      return;
    }
    const box = canvas.getBoundingClientRect();
    if (pinch && touches.size >= 2) {
      const fingers = two();
      view.set(placing(pinch.at, shownAt(fingers.mid, box), pinch.zoom * fingers.distance / pinch.distance, size));
      return;
    }
    if (!pressed || !pressed.zoomed || !event.isPrimary) return;
    // A press on a zoomed page drags it once it moves past a tap: the page
    // point pressed stays under the finger or the pointer.
    const slop = on.gestures.tapSlop * box.width / size.width;
    if (!pressed.dragging && Math.hypot(event.clientX - pressed.client.x, event.clientY - pressed.client.y) < slop) return;
    pressed.dragging = true;
    view.set(placing(pressed.at, shownAt(event, box), view.wanted().zoom, size));
  });
  /** @param {PointerEvent} event */
  const touchOff = (event) => {
    touches.delete(event.pointerId);
    if (touches.size < 2) pinch = null;
    if (!touches.size) pinched = false;
  };
  window.addEventListener('pointerup', (event) => {
    if (drawing === event.pointerId) {
      drawing = null;
      const key = pen.layer.end();
      if (key) pushKey(key);
    }
    if (pressed && event.isPrimary) {
      const p = pressed;
      pressed = null;
      const key = p.dragging ? null : p.zoomed ? gestureKey(p.at, p.at, on.gestures, true) :
        gestureKey(p.at, pagePoint(event, p.box, size), on.gestures);
      if (key !== null) pushKey(key);
    }
    if (event.pointerType === 'touch') touchOff(event);
    lifted(event);
  });
  window.addEventListener('pointercancel', (event) => {
    pressed = null;
    if (drawing === event.pointerId) {
      drawing = null;
      pen.layer.cancel();
    }
    if (event.pointerType === 'touch') touchOff(event);
    lifted(event);
  });
  // Ctrl and the wheel (a touchpad's pinch comes so) zoom about the pointer;
  // on a zoomed page the wheel alone moves it. The browser's own zoom never comes.
  window.addEventListener('wheel', (event) => {
    if (onUi(event.target)) return;
    const turn = wheelPixels(event), box = canvas.getBoundingClientRect(), now = view.wanted();
    if (event.ctrlKey || event.metaKey) {
      event.preventDefault();
      view.set(zoomedAbout(now, shownAt(event, box), Math.pow(2, -turn.y / WHEEL_DOUBLING), size));
    } else if (!isWhole(now)) {
      event.preventDefault();
      view.set(panned(now, -turn.x / box.width, -turn.y / box.height, size));
    }
  }, { passive: false });
  // Safari's pinch on a trackpad (on an iPad the fingers come as pointers).
  /** @type {{ at: import('./view.js').Point, shown: import('./view.js').Point, zoom: number } | null} */
  let gesture = null;
  window.addEventListener('gesturestart', (/** @type {any} */ event) => {
    event.preventDefault();
    if (touches.size) return;
    const box = canvas.getBoundingClientRect();
    const shown = shownAt(event, box);
    gesture = { at: pagePoint(event, box, size, view.wanted()), shown, zoom: view.wanted().zoom };
  });
  window.addEventListener('gesturechange', (/** @type {any} */ event) => {
    event.preventDefault();
    if (gesture && !touches.size) view.set(placing(gesture.at, gesture.shown, gesture.zoom * event.scale, size));
  });
  window.addEventListener('gestureend', (/** @type {any} */ event) => {
    event.preventDefault();
    gesture = null;
  });
  // With a mouse alone the toolbar shows while it moves.
  window.addEventListener('mousemove', () => {
    if (pad.toolbar && !pad.touch) pad.toolbar.stirred(canvas.getBoundingClientRect());
  });
  // A new size of the window: the page and the pad take it at once.
  window.addEventListener('resize', () => {
    pad.makeRoom(true);
    pad.show();
  });
}
