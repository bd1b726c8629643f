// @ts-check
// The part of the page the canvas shows: the whole page, or a magnified part
// of it that a teacher zoomed into (fingers, the wheel, the keys, the
// toolbar). The view is the page's alone: the program, its trace and what
// it saves never see it. The same rule as the desktop's PageView
// (engine/graphics/view.h).

/**
 * @typedef {{ x: number, y: number, zoom: number }} View  the top-left page point shown and the zoom (1: whole)
 * @typedef {{ width: number, height: number }} Size  the page's size in its units
 * @typedef {{ x: number, y: number }} Point
 */

// How far a teacher can zoom in, and the factor of one press of a zoom key or button.
export const MAX_ZOOM = 6;
export const ZOOM_STEP = 1.5;

/** @returns {View} */
export function wholeView() { return { x: 0, y: 0, zoom: 1 }; }

/** @param {View} v */
export function isWhole(v) { return v.zoom <= 1; }

/**
 * The view at `zoom` that shows page point `at` where `shown` is (fractions
 * of the page's box, 0 to 1): never less than the whole page, never beyond its edges.
 * @param {Point} at
 * @param {Point} shown
 * @param {number} zoom
 * @param {Size} size
 * @returns {View}
 */
export function placing(at, shown, zoom, size) {
  const z = Math.min(MAX_ZOOM, Math.max(1, zoom));
  const w = size.width / z, h = size.height / z;
  return {
    x: Math.min(size.width - w, Math.max(0, at.x - shown.x * w)),
    y: Math.min(size.height - h, Math.max(0, at.y - shown.y * h)),
    zoom: z,
  };
}

/**
 * The page point shown at a fraction of the page's box.
 * @param {View} v
 * @param {Point} shown
 * @param {Size} size
 * @returns {Point}
 */
export function pageAt(v, shown, size) {
  return { x: v.x + shown.x * size.width / v.zoom, y: v.y + shown.y * size.height / v.zoom };
}

/**
 * Zoomed by `factor` about the page point shown at `shown`.
 * @param {View} v
 * @param {Point} shown
 * @param {number} factor
 * @param {Size} size
 */
export function zoomedAbout(v, shown, factor, size) {
  return placing(pageAt(v, shown, size), shown, v.zoom * factor, size);
}

/**
 * Moved so that the page slides by (dx, dy) fractions of the box.
 * @param {View} v
 * @param {number} dx
 * @param {number} dy
 * @param {Size} size
 */
export function panned(v, dx, dy, size) {
  return placing(pageAt(v, { x: -dx, y: -dy }, size), { x: 0, y: 0 }, v.zoom, size);
}

/**
 * Where a pointer stands in the page's box r, as fractions of its width and height.
 * @param {{ clientX: number, clientY: number }} event
 * @param {{ left: number, top: number, width: number, height: number }} r
 * @returns {Point}
 */
export function shownAt(event, r) {
  return { x: (event.clientX - r.left) / r.width, y: (event.clientY - r.top) / r.height };
}

/**
 * The page rectangle a view shows, in page units, as window.lesson.view() gives it.
 * @param {View} v
 * @param {Size} size
 */
export function viewRect(v, size) {
  return { x: v.x, y: v.y, width: size.width / v.zoom, height: size.height / v.zoom };
}
