// What the page's script takes from emscripten's own script, which it runs
// inside (as --pre-js): the Module object and the runtime's helpers.
declare var Module: Record<string, any>;
declare function abort(what: any): never;
declare function _malloc(size: number): number;
declare function lengthBytesUTF8(text: string): number;
declare function stringToUTF8(text: string, at: number, size: number): void;
// Scripts' interface to the page (bridge.js).
interface Window { lesson: Record<string, (...args: any[]) => any>; }
