// @ts-check
// The canvas the program draws on: the page scaled into the canvas's box and
// letterboxed, drawn the way the desktop's Cairo raster draws it. The
// numbers (the page's size, the colours, the erasing spread) are the
// program's, given as it begins (setUp).

import { wholeView } from './view.js';

const TURN = 2 * Math.PI;

export function makeCanvas() {
  return {
    /** @type {HTMLCanvasElement} */
    canvas: /** @type {any} */ (null),
    /** @type {CanvasRenderingContext2D} */
    ctx: /** @type {any} */ (null),
    /** @type {CanvasRenderingContext2D | null} */
    measurer: null,
    size: { width: 1, height: 1 },
    scale: 1, offsetX: 0, offsetY: 0,
    // The view drawn, and the one wanted: the page is drawn anew at a new
    // view's scale when the program next has its turn (it redraws at a new size).
    view: wholeView(),
    wanted: wholeView(),
    /** @type {string[]} */
    colors: [],
    clearColor: '', clearIndex: 0, spread: 2.5,
    family: '', bold: false, italic: false, across: 16, height: 16, glyphColor: 0, erase: false, extra: 0,

    /**
     * The program's numbers: the page's size in its units, its 16 colours
     * (r, g, b each), the clear colour's index and the erasing spread in
     * device pixels.
     * @param {{ width: number, height: number }} size
     * @param {number[][]} palette
     * @param {number} clearIndex
     * @param {number} spread
     */
    setUp(size, palette, clearIndex, spread) {
      this.size = size;
      this.clearIndex = clearIndex;
      this.setPalette(palette);
      this.spread = spread;
    },

    /**
     * The colours the palette's indices are drawn in (a scheme's); the page
     * is drawn again by the program.
     * @param {number[][]} palette
     */
    setPalette(palette) {
      this.colors = palette.map((c) => 'rgb(' + c[0] + ',' + c[1] + ',' + c[2] + ')');
      this.clearColor = this.colors[this.clearIndex];
    },

    // The canvas and its pixels at the size of its box, painted white: done
    // while the program is still being compiled, as the first drawing on a new
    // canvas is the costliest. makeRoom gives the page its box first.
    /** @param {() => void} makeRoom */
    prepare(makeRoom) {
      if (this.ctx) return;
      this.canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('page'));
      makeRoom();
      this.ctx = /** @type {CanvasRenderingContext2D} */ (this.canvas.getContext('2d', { alpha: false }));
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
      // The view's part of the page fills the page's box; the rest lies
      // outside the canvas.
      const fit = Math.min(w / this.size.width, h / this.size.height);
      this.view = { x: this.wanted.x, y: this.wanted.y, zoom: this.wanted.zoom };
      this.scale = fit * this.view.zoom;
      this.offsetX = (w - this.size.width * fit) / 2 - this.view.x * this.scale;
      this.offsetY = (h - this.size.height * fit) / 2 - this.view.y * this.scale;
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

    // The page's clip, around each drawing.
    clipped(draw) {
      const ctx = this.ctx;
      ctx.save();
      ctx.beginPath();
      ctx.rect(0, 0, this.size.width, this.size.height);
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

    // The part of the page within (x0, y0)-(x1, y1), out to whole device
    // pixels, drawn again: its ground painted here, what the program draws
    // until endArea clipped to it.
    areaBegin(x0, y0, x1, y1, cleared) {
      const ctx = this.ctx;
      const out = (v, offset, round) => (round(v * this.scale + offset) - offset) / this.scale;
      const left = Math.max(0, out(x0, this.offsetX, Math.floor));
      const top = Math.max(0, out(y0, this.offsetY, Math.floor));
      const right = Math.min(this.size.width, out(x1, this.offsetX, Math.ceil));
      const bottom = Math.min(this.size.height, out(y1, this.offsetY, Math.ceil));
      ctx.save();
      ctx.beginPath();
      ctx.rect(left, top, right - left, bottom - top);
      ctx.clip();
      ctx.fillStyle = cleared ? this.clearColor : this.colors[15];
      ctx.fillRect(left, top, right - left, bottom - top);
    },

    areaEnd() { this.ctx.restore(); },

    // A stroke of the teacher's ink: its smoothed path (the start, then cubic
    // segments of two control points and an end each) stroked at once, so a
    // translucent pen never darkens where it crosses itself; or a dot.
    inkStroke(path, dot, r, g, b, opacity, width) {
      this.clipped((ctx) => {
        const color = 'rgb(' + r + ',' + g + ',' + b + ')';
        ctx.globalAlpha = opacity;
        if (dot) {
          ctx.arc(path[0], path[1], width / 2, 0, TURN);
          ctx.fillStyle = color;
          ctx.fill();
          return;
        }
        ctx.moveTo(path[0], path[1]);
        for (let i = 2; i + 5 < path.length; i += 6)
          ctx.bezierCurveTo(path[i], path[i + 1], path[i + 2], path[i + 3], path[i + 4], path[i + 5]);
        ctx.lineWidth = width;
        ctx.strokeStyle = color;
        ctx.stroke();
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
  };
}
