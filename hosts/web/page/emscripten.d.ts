// What the page's script shares with emscripten's own script, which runs
// after it: the Module object it leaves on the window, whose runtime helpers
// the program's script fills in, and the runtime's abort.
declare var Module: LessonModule;
declare function abort(what: any): never;
interface LessonModule {
  page: ProgramPage;
  place: ProgramPlace;
  makePlace(program: string): ProgramPlace;
  [setting: string]: any;  // emscripten's own settings and helpers
}
// Scripts' interface to the page (bridge.js).
interface Window { lesson: Record<string, (...args: any[]) => any>; Module: LessonModule; }

// What the program's host (hosts/web/web_host.cpp, its EM_JS functions)
// calls on the page, Module.page, made by bridge.js's makeBridge; the one
// declaration both sides are checked against. Numbers are as the program
// hands them: flags 0 or 1, colours palette indices, lengths in page units.
interface ProgramPage {
  program: string;
  prepare(): void;
  // The program begins: one JSON object of the numbers both sides go by.
  begin(json: string): void;
  tracing(): number;
  trace(line: string): void;
  // The canvas at its size and view, its ground painted: the view's scale,
  // in device pixels to the page unit.
  ground(cleared: number): number;
  cls(): void;
  // What a command is lowered into (engine/graphics/lowering.h): rectangles,
  // four numbers each; a path, six numbers a step (kind, x, y, r, from, to);
  // glyphs in one face, three numbers each (code point, x, baseline).
  rects(rects: ArrayLike<number>, color: number): void;
  path(steps: ArrayLike<number>, fill: number, stroke: number, width: number): void;
  glyphs(family: string, bold: number, italic: number, across: number, height: number, color: number,
         outline: number, placed: ArrayLike<number>): void;
  // A glyph's ink box in ems of its face, or null when it cannot be measured.
  ink(family: string, bold: number, italic: number, codePoint: number): ArrayLike<number> | null;
  areaBegin(x0: number, y0: number, x1: number, y1: number, cleared: number): void;
  areaEnd(): void;
  // The teacher's ink: a path of a start and cubic segments, or a dot.
  inkStroke(path: ArrayLike<number>, dot: number, r: number, g: number, b: number, opacity: number,
            width: number): void;
  speak(step: string, text: string): void;
  setIdle(): void;
  setWait(kind: string): void;
  end(): void;
  exited(status: number): void;
  takeResized(): number;
  redrawn(): void;
  // Strings for the program are UTF-8 in its memory, which it frees; 0 for none.
  takeKey(): number;
  takeScript(): number;
  give(text: string | undefined): number;
  wait(ms: number): Promise<void>;
  loadFonts(): Promise<void> | void;
}
// The place kept across a reopening (place.js), as the host uses it.
type ProgramPlace = ReturnType<typeof import('./place.js').makePlace>;
// What the browsers have that the checker's library does not name yet.
declare class DecompressionStream extends TransformStream<Uint8Array, Uint8Array> {
  constructor(format: 'gzip' | 'deflate' | 'deflate-raw');
}
