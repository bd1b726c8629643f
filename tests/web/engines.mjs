// The browser engines besides Chromium: Debian's Firefox ESR, driven through
// WebDriver BiDi by puppeteer-core, and WebKitGTK (the engine of Safari), its
// MiniBrowser driven by WebKitWebDriver under an Xvfb display of its own.
// Each driver opens a page, runs a function in it and presses named keys.

import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { createServer } from 'node:net';
import puppeteer from 'puppeteer-core';
import { PAGE, desktop, lines, menuSections } from './lib.mjs';

const FIREFOX = '/usr/bin/firefox-esr';
const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// In the page: resolves once the program waits for a key with no scripted key left.
const IDLE = `new Promise((resolve) => {
  const poll = () => (window.lesson !== undefined && window.lesson.idle() ? resolve(true) : setTimeout(poll, 20));
  poll();
})`;

export async function firefox() {
  const browser = await puppeteer.launch({ browser: 'firefox', executablePath: FIREFOX, headless: true });
  const page = await browser.newPage();
  await page.setViewport(PAGE);
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  return {
    name: 'Firefox ESR',
    errors,
    async goto(url) { await page.goto(url); },
    async idle() { await page.evaluate(IDLE); },
    async run(source) { return page.evaluate(source); },
    async press(key) { await page.keyboard.press(key); },
    // Ctrl held down around a turn of the wheel at (x, y), or around a key.
    async ctrlWheel(x, y, deltaY) {
      await page.mouse.move(x, y);
      await page.keyboard.down('Control');
      await page.mouse.wheel({ deltaY });
      await page.keyboard.up('Control');
    },
    async ctrlPress(key) {
      await page.keyboard.down('Control');
      await page.keyboard.press(key);
      await page.keyboard.up('Control');
    },
    async close() { await browser.close(); },
  };
}

// WebDriver's codes of the keys that type no text.
const WEBDRIVER_KEYS = {
  Enter: '\uE007', PageUp: '\uE00E', PageDown: '\uE00F', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014',
  ArrowDown: '\uE015',
};

async function freePort() {
  const server = createServer();
  server.listen(0, '127.0.0.1');
  await once(server, 'listening');
  const { port } = server.address();
  server.close();
  await once(server, 'close');
  return port;
}

// An Xvfb of its own: the server picks a free display and names it on a pipe.
async function startXvfb() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1600x1000x24', '-nolisten', 'tcp'],
                     { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  let said = '', stderr = '';
  xvfb.stderr.on('data', (data) => { stderr += data; });
  const display = await new Promise((resolve, reject) => {
    xvfb.stdio[3].on('data', (data) => {
      said += data;
      if (said.includes('\n')) resolve(':' + said.trim());
    });
    xvfb.on('exit', (code) => reject(new Error(`Xvfb ended (${code}): ${stderr}`)));
  });
  return { display, process: xvfb };
}

async function stop(child) {
  if (child.exitCode !== null || child.signalCode !== null) return;
  const ended = once(child, 'exit');
  child.kill('SIGTERM');
  await ended;
}

export async function webkit() {
  const xvfb = await startXvfb();
  const port = await freePort();
  const driver = spawn(WEBKIT_DRIVER, [`--port=${port}`, '--host=127.0.0.1'],
                       { stdio: ['ignore', 'ignore', 'pipe'], env: { ...process.env, DISPLAY: xvfb.display } });
  let driverLog = '';
  driver.stderr.on('data', (data) => { driverLog = (driverLog + data).slice(-4000); });
  const base = `http://127.0.0.1:${port}`;
  const call = async (method, path, body, timeout = 120000) => {
    const response = await fetch(base + path, {
      method, headers: { 'content-type': 'application/json' }, signal: AbortSignal.timeout(timeout),
      body: body === undefined ? undefined : JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebKitWebDriver ${method} ${path}: ${JSON.stringify(value)}\n${driverLog}`);
    return value;
  };
  let session;
  try {
    for (let tries = 0; ; ++tries) {
      try {
        if ((await call('GET', '/status', undefined, 2000)).ready) break;
      } catch (error) {
        if (tries > 100) throw error;
      }
      await new Promise((resolve) => setTimeout(resolve, 50));
    }
    session = (await call('POST', '/session', {
      capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] } } },
    })).sessionId;
    await call('POST', `/session/${session}/timeouts`, { script: 120000, pageLoad: 120000 });
    await call('POST', `/session/${session}/window/rect`, { x: 0, y: 0, width: PAGE.width, height: PAGE.height + 100 });
  } catch (error) {
    await stop(driver);
    await stop(xvfb.process);
    throw error;
  }
  const at = `/session/${session}`;
  const run = (source) => call('POST', `${at}/execute/sync`, { script: `return (${source});`, args: [] });
  return {
    name: 'WebKitGTK',
    errors: [],
    async goto(url) {
      await call('POST', `${at}/url`, { url });
      // WebDriver has no page errors to listen to: the page keeps them.
      await run(`(window.lessonErrors = [], window.addEventListener('error', (e) => window.lessonErrors.push(e.message)), 0)`);
    },
    async idle() { await run(IDLE); },
    run,
    async press(key) {
      const value = WEBDRIVER_KEYS[key] ?? key;
      await call('POST', `${at}/actions`, {
        actions: [{ type: 'key', id: 'keyboard', actions: [{ type: 'keyDown', value }, { type: 'keyUp', value }] }],
      });
    },
    // WebKitWebDriver turns the wheel without the keys held (its wheel events
    // come with ctrlKey false): the page is handed the wheel event a
    // touchpad's pinch makes in Safari, on the element under (x, y).
    async ctrlWheel(x, y, deltaY) {
      await run(`document.elementFromPoint(${x}, ${y}).dispatchEvent(new WheelEvent('wheel', { deltaY: ${deltaY}, ` +
                `clientX: ${x}, clientY: ${y}, ctrlKey: true, bubbles: true, cancelable: true }))`);
    },
    async ctrlPress(key) {
      const control = '\uE009';
      await call('POST', `${at}/actions`, {
        actions: [{ type: 'key', id: 'keyboard', actions: [{ type: 'keyDown', value: control }, { type: 'keyDown', value: key },
          { type: 'keyUp', value: key }, { type: 'keyUp', value: control }] }],
      });
    },
    async pageErrors() { return run('window.lessonErrors'); },
    async close() {
      try {
        await call('DELETE', at, undefined, 20000);
      } finally {
        await stop(driver);
        await stop(xvfb.process);
      }
    },
  };
}

// A trace's keys as a key script (--keys).
export function keyScript(trace) {
  const named = { '\r': '\\n', '\b': '\\b', '\\': '\\\\', '\u0002': '\\<', '\u0003': '\\>' };
  return lines(trace).map((line) => JSON.parse(line)).filter((e) => e.op === 'key')
    .map((e) => named[e.key] ?? e.key).join('');
}

// Every section of the program's main menu walked in turn in one run, as
// --walk walks each, from where the sections before it left the program:
// the keys as a key script, and the desktop's trace of them.
export function walkOfEverySection(program, seed) {
  let keys = '', trace = '';
  for (const section of menuSections(program)) {
    const typed = keys === '' ? [] : ['--keys', keys];
    trace = desktop(program, ['--seed', String(seed), ...typed, '--walk', String(section)]).trace;
    keys = keyScript(trace);
  }
  return { keys, trace };
}
