// @ts-check
// The canvas the program draws on: the page scaled into the canvas's box and
// letterboxed. It only fills what the program hands it, every command
// lowered as the desktop's raster has it (rectangles on whole device pixels,
// paths, runs of glyphs); the numbers (the page's size, the colours, a path's
// steps) are the program's, given as it begins (setUp).

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
    clearColor: '', clearIndex: 0,
    /** @type {Record<string, number>} */
    steps: {},

    /**
     * The program's numbers: the page's size in its units, its 16 colours
     * (r, g, b each), the clear colour's index and the numbers of a path's
     * steps by their names.
     * @param {{ width: number, height: number }} size
     * @param {number[][]} palette
     * @param {number} clearIndex
     * @param {Record<string, number>} steps
     */
    setUp(size, palette, clearIndex, steps) {
      this.size = size;
      this.clearIndex = clearIndex;
      this.setPalette(palette);
      this.steps = steps;
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

    // The canvas in its box (makeRoom gives the page its box), while the
    // program is still being compiled: no pixels yet, the page's white ground
    // shows. A canvas painted this early costs the browser a frame of its own
    // just when it feeds the compiler the program's bytes.
    /** @param {() => void} makeRoom */
    place(makeRoom) {
      this.canvas = /** @type {HTMLCanvasElement} */ (document.getElementById('page'));
      makeRoom();
    },

    // The canvas and its pixels at the size of its box, painted white, as the
    // program begins.
    /** @param {() => void} makeRoom */
    prepare(makeRoom) {
      if (this.ctx) return;
      this.place(makeRoom);
      this.ctx = /** @type {CanvasRenderingContext2D} */ (this.canvas.getContext('2d', { alpha: false }));
      [this.canvas.width, this.canvas.height] = this.devicePixels();
      this.ctx.fillStyle = '#fff';
      this.ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    },

    // The canvas at the device's pixel size, the page scaled into it and
    // letterboxed; painted white, or in the clear colour after a clear. The
    // scale is the view's, in device pixels to the page unit.
    /** @param {number} cleared */
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
    /** @param {(ctx: CanvasRenderingContext2D) => void} draw */
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

    // A page coordinate put on a device pixel's edge by `round` (Math.round,
    // floor or ceil), `offset` being the page's origin in device pixels along
    // its axis. Every rectangle filled and every area drawn again is snapped by it.
    /** @param {number} v @param {number} offset @param {(v: number) => number} round */
    snap(v, offset, round) { return (round(v * this.scale + offset) - offset) / this.scale; },

    cls() {
      const ctx = this.ctx;
      ctx.save();
      ctx.resetTransform();
      ctx.fillStyle = this.clearColor;
      ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
      ctx.restore();
    },

    // Rectangles (x0, y0, x1, y1 each, in page units) filled together on
    // whole device pixels, even-odd: a box, or the ring of its outline.
    /** @type {ProgramPage['rects']} */
    rects(rects, color) {
      this.clipped((ctx) => {
        const x = (/** @type {number} */ v) => this.snap(v, this.offsetX, Math.round);
        const y = (/** @type {number} */ v) => this.snap(v, this.offsetY, Math.round);
        for (let i = 0; i + 3 < rects.length; i += 4) {
          const left = x(rects[i]), top = y(rects[i + 1]);
          ctx.rect(left, top, x(rects[i + 2]) - left, y(rects[i + 3]) - top);
        }
        ctx.fillStyle = this.colors[color];
        ctx.fill('evenodd');
      });
    },

    // A path, six numbers a step (its kind, x, y, r, from, to): a move or a
    // line to (x, y), an arc about (x, y) from angle `from` to `to`, growing
    // or shrinking, a close. Filled (fill >= 0), then stroked `width` wide
    // (width > 0), with round caps and joins.
    /** @type {ProgramPage['path']} */
    path(steps, fill, stroke, width) {
      this.clipped((ctx) => {
        const kind = this.steps;
        for (let i = 0; i + 5 < steps.length; i += 6) {
          const step = steps[i], x = steps[i + 1], y = steps[i + 2];
          if (step === kind.move) ctx.moveTo(x, y);
          else if (step === kind.line) ctx.lineTo(x, y);
          else if (step === kind.close) ctx.closePath();
          else ctx.arc(x, y, steps[i + 3], steps[i + 4], steps[i + 5], step === kind.arcNegative);
        }
        if (fill >= 0) {
          ctx.fillStyle = this.colors[fill];
          ctx.fill();
        }
        if (width > 0) {
          ctx.lineWidth = width;
          ctx.strokeStyle = this.colors[stroke];
          ctx.stroke();
        }
      });
    },

    // The part of the page within (x0, y0)-(x1, y1), out to whole device
    // pixels, drawn again: its ground painted here, what the program draws
    // until endArea clipped to it.
    /** @type {ProgramPage['areaBegin']} */
    areaBegin(x0, y0, x1, y1, cleared) {
      const ctx = this.ctx;
      const left = Math.max(0, this.snap(x0, this.offsetX, Math.floor));
      const top = Math.max(0, this.snap(y0, this.offsetY, Math.floor));
      const right = Math.min(this.size.width, this.snap(x1, this.offsetX, Math.ceil));
      const bottom = Math.min(this.size.height, this.snap(y1, this.offsetY, Math.ceil));
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
    /** @type {ProgramPage['inkStroke']} */
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

    // Glyphs in one face, three numbers each (code point, x, baseline): the
    // face's em is `height` high and `across` wide. An erasing run strokes
    // each glyph's outline `outline` wide too.
    /** @type {ProgramPage['glyphs']} */
    glyphs(family, bold, italic, across, height, color, outline, placed) {
      this.clipped((ctx) => {
        const stretch = across / height;
        ctx.font = (italic ? 'italic ' : '') + (bold ? 'bold ' : '') + height + 'px "' + family + '"';
        ctx.fillStyle = ctx.strokeStyle = this.colors[color];
        // The outline is stroked in the stretched space: widened so that it
        // reaches as far across as up and down.
        ctx.lineWidth = outline / Math.min(1, stretch);
        for (let i = 0; i + 2 < placed.length; i += 3) {
          const text = String.fromCodePoint(placed[i]);
          ctx.save();
          ctx.translate(placed[i + 1], placed[i + 2]);
          ctx.scale(stretch, 1);
          ctx.fillText(text, 0, 0);
          if (outline > 0) ctx.strokeText(text, 0, 0);
          ctx.restore();
        }
      });
    },

    // A glyph's ink box in ems, from its origin (x right, y down), as the
    // canvas draws it; null when the browser cannot tell.
    /** @type {ProgramPage['ink']} */
    ink(family, bold, italic, codePoint) {
      const EM = 1000;
      if (!this.measurer) this.measurer = document.createElement('canvas').getContext('2d');
      const ctx = this.measurer;
      if (!ctx) return null;
      ctx.font = (italic ? 'italic ' : '') + (bold ? 'bold ' : '') + EM + 'px "' + family + '"';
      const m = ctx.measureText(String.fromCodePoint(codePoint));
      if (m.actualBoundingBoxRight === undefined) return null;
      return [-m.actualBoundingBoxLeft / EM, -m.actualBoundingBoxAscent / EM, m.actualBoundingBoxRight / EM,
        m.actualBoundingBoxDescent / EM];
    },
  };
}
