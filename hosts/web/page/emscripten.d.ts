// What the page's script shares with emscripten's own script, which runs
// after it: the Module object it leaves on the window, whose runtime helpers
// the program's script fills in, and the runtime's abort.
declare var Module: Record<string, any>;
declare function abort(what: any): never;
// Scripts' interface to the page (bridge.js).
interface Window { lesson: Record<string, (...args: any[]) => any>; Module: Record<string, any>; }
