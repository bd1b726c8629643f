// @ts-check
// The browser page of a lesson program: the canvas the program draws on, the
// keyboard and the fingers, the query string's options and window.lesson for
// scripts, wired to the program (Module). The numbers the page goes by (the
// page's size, the colours, the key table, the taps' numbers, the waits'
// names) come from the program as it begins. esbuild bundles the modules into
// the one script given to emcc as --extern-pre-js: it runs first, and leaves
// Module on the window for the program's own script to take.

/// <reference path="./emscripten.d.ts" />
import { gunzip } from './inflate.js';
import { makeCanvas } from './canvas.js';
import { makePad } from './pad.js';
import { listen } from './input.js';
import { instantiator, makeBridge, programArguments } from './bridge.js';
import { makePlace } from './place.js';

performance.mark('lesson-script');
window.Module = window.Module || /** @type {LessonModule} */ ({});
const options = programArguments(window.location.search);
Module['arguments'] = options.args;

const canvas = makeCanvas();
/** @type {(key: string) => void} */
let pushKey = () => {};
const pad = makePad(canvas, (key) => pushKey(key));
const bridge = makeBridge(canvas, pad, options.tracing, listen);
pushKey = bridge.pushKey;
Module['instantiateWasm'] = instantiator(gunzip, () => bridge.page.prepare());
Module.page = bridge.page;
// The place kept across a reopening, taken by the program as it begins.
Module.makePlace = (/** @type {string} */ program) => makePlace(program, window.location.pathname);
window.lesson = bridge.lesson;

// A program that stops on an error shows its line over the page: the last
// line it wrote on stderr when it ends with an error's status (a line alone
// does not end it), an abort, or what it throws out (a trap, a C++ exception
// no one caught).
const err = Module['printErr'] || console.warn.bind(console);
Module['printErr'] = (/** @type {string} */ text) => {
  err(text);
  bridge.said(text);
};
const previousAbort = Module['onAbort'];
Module['onAbort'] = (/** @type {any} */ what) => {
  bridge.stopped(bridge.page.program + ': stopped (' + String(what) + ')');
  if (previousAbort) previousAbort(what);
};
/** @param {any} thrown */
const thrownOut = (thrown) => {
  if (thrown instanceof WebAssembly.RuntimeError || typeof thrown === 'number') {
    bridge.stopped(bridge.page.program + ': stopped on an error (' + String(thrown) + ')');
  }
};
window.addEventListener('error', (event) => thrownOut(event.error));
window.addEventListener('unhandledrejection', (event) => thrownOut(event.reason));
