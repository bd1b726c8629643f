// @ts-check
// The teacher's pen as the page takes it: the stroke under the pen shown at
// once, smoothed, on a layer of its own over the page (drawn at the view's
// scale), and handed to the program as one ink key when the pen lifts; the
// program then keeps it with the page and draws it there (the same rule:
// quadratic curves through the midpoints of the points). The pens' colours,
// widths and the ink key's mark are the program's, given as it begins.

/**
 * @typedef {{ x: number, y: number }} Point
 * @typedef {{ pen: string, color: number[], opacity: number, width: number }} Pen
 * @typedef {{ mark: string, undo: string, clear: string, eraser: string, reach: number, pens: Pen[] }} InkTable
 */

/** @param {number} v */
function unitText(v) { return String(Math.round(v * 100) / 100); }

/**
 * The ink key of a stroke of pen `letter` through page points, as the
 * program reads it (the mark, the letter, "X,Y X,Y ..."), or of undo ('u')
 * and clear ('c') with no points.
 * @param {string} mark
 * @param {string} letter
 * @param {Point[]} [points]
 */
export function inkKey(mark, letter, points) {
  return mark + letter + (points || []).map((p) => unitText(p.x) + ',' + unitText(p.y)).join(' ');
}

/**
 * Traces a stroke's smoothed path on ctx (page units): quadratic curves
 * through the midpoints of successive points, from the first point to the last.
 * @param {CanvasRenderingContext2D} ctx
 * @param {Point[]} points
 */
export function tracePath(ctx, points) {
  ctx.moveTo(points[0].x, points[0].y);
  if (points.length === 1) {
    ctx.lineTo(points[0].x, points[0].y);
    return;
  }
  for (let i = 1; i < points.length - 1; ++i) {
    const mid = { x: (points[i].x + points[i + 1].x) / 2, y: (points[i].y + points[i + 1].y) / 2 };
    ctx.quadraticCurveTo(points[i].x, points[i].y, mid.x, mid.y);
  }
  const last = points[points.length - 1];
  ctx.lineTo(last.x, last.y);
}

/**
 * The layer of the stroke under the pen, over the page's canvas.
 * @param {HTMLCanvasElement} page
 * @param {{ width: number, height: number }} size the page's size in its units
 * @param {InkTable} table
 * @param {() => import('./view.js').View} drawnView
 */
export function makeInkLayer(page, size, table, drawnView) {
  // The layer's canvas is made at the first stroke: a page that is never
  // drawn on keeps no second canvas, and the program opens without one.
  /** @type {HTMLCanvasElement} */
  let layer;
  /** @type {CanvasRenderingContext2D} */
  let ctx;
  const make = () => {
    if (layer) return;
    layer = document.createElement('canvas');
    layer.id = 'ink-live';
    layer.setAttribute('aria-hidden', 'true');
    layer.style.cssText = 'position:fixed;pointer-events:none;z-index:1;';
    document.body.appendChild(layer);
    ctx = /** @type {CanvasRenderingContext2D} */ (layer.getContext('2d'));
  };
  /** @type {Point[]} */
  let points = [];
  let letter = '';
  // Strokes handed to the program and not yet taken: still shown here.
  /** @type {{ letter: string, points: Point[] }[]} */
  let handed = [];

  const fit = () => {
    const r = page.getBoundingClientRect(), ratio = window.devicePixelRatio || 1;
    Object.assign(layer.style, { left: r.left + 'px', top: r.top + 'px', width: r.width + 'px', height: r.height + 'px' });
    const w = Math.max(1, Math.round(r.width * ratio)), h = Math.max(1, Math.round(r.height * ratio));
    if (layer.width !== w || layer.height !== h) {
      layer.width = w;
      layer.height = h;
    }
    const v = drawnView(), scale = w / size.width * v.zoom;
    ctx.setTransform(scale, 0, 0, scale, -v.x * scale, -v.y * scale);
  };
  /**
   * @param {string} pen
   * @param {Point[]} at
   */
  const stroke = (pen, at) => {
    const p = table.pens.find((q) => q.pen === pen);
    ctx.beginPath();
    tracePath(ctx, at);
    ctx.lineCap = 'round';
    ctx.lineJoin = 'round';
    if (p) {
      ctx.globalAlpha = p.opacity;
      ctx.lineWidth = p.width;
      ctx.strokeStyle = 'rgb(' + p.color.join(',') + ')';
    } else {
      // The eraser's path: a faint grey trail as wide as its reach.
      ctx.globalAlpha = 0.35;
      ctx.lineWidth = 2 * table.reach;
      ctx.strokeStyle = '#888';
    }
    ctx.stroke();
    ctx.globalAlpha = 1;
  };
  const paint = () => {
    make();
    fit();
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.clearRect(0, 0, layer.width, layer.height);
    ctx.restore();
    for (const h of handed) stroke(h.letter, h.points);
    if (points.length) stroke(letter, points);
  };
  return {
    /** Whether a stroke is under way. */
    get drawing() { return points.length > 0; },
    /**
     * @param {string} pen the pen's letter ('e' the eraser)
     * @param {Point} at
     */
    begin(pen, at) {
      letter = pen;
      points = [at];
      paint();
    },
    /** @param {Point} at */
    move(at) {
      if (!points.length) return;
      const last = points[points.length - 1];
      if (Math.hypot(at.x - last.x, at.y - last.y) < 0.5) return;
      points.push(at);
      paint();
    },
    // The pen lifts: the stroke's key, shown here until the program takes it.
    end() {
      if (!points.length) return null;
      const key = inkKey(table.mark, letter, points);
      handed.push({ letter, points });
      points = [];
      paint();
      return key;
    },
    cancel() {
      points = [];
      paint();
    },
    // The program took the strokes handed to it and draws them on the page.
    taken() {
      if (!handed.length) return;
      handed = [];
      paint();
    },
    // The view or the page's box changed.
    repaint() { if (handed.length || points.length) paint(); },
  };
}
