// The game's page in headless Chromium: what it transfers, how soon the menu
// shows, the CPU it takes while the menu waits and while playing, and key to
// canvas. Prints `name value` lines (see bench/README.md).
// Usage: node bench/measure_web.js <site folder> <web_menu_frame program> <picture folder> [runs]
// (tests/web/node_modules must be installed: scripts/install-deps.sh.)
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const kit = require('../tests/web/browser.js');
const reference = require('../tests/web/reference.js');

const [site, menuFrameProgram, pictureFolder] = process.argv.slice(2);
const kCatcherY = 400;
const kCatcherRow = 15;
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const print = (name, value) => console.log(`${name} ${typeof value === 'number' ? value.toFixed(1) : value}`);

function transferSizes() {
  let code = 0;
  let all = 0;
  for (const name of fs.readdirSync(site)) {
    const bytes = fs.readFileSync(path.join(site, name));
    print(`transfer_bytes_${name.replace(/\W/g, '_')}`, bytes.length);
    print(`transfer_gzip_bytes_${name.replace(/\W/g, '_')}`, zlib.gzipSync(bytes, { level: 9 }).length);
    all += bytes.length;
    if (/\.(wasm|js|html)$/.test(name)) code += bytes.length;
  }
  print('transfer_code_bytes', code);
  print('transfer_all_bytes', all);
}

// Runs in the page before its own scripts: notes when the canvas first
// shows anything (the intro) and first holds the menu, and for each key press the time from the keydown's
// timeStamp to the moment the canvas holds the catcher elsewhere
// (toCanvas), and to the rendering update that shows that canvas (toScreen):
// the same moment when the canvas changed in an animation frame callback,
// else the start of the next animation frame's callbacks.
function instrumentPage(menuBase64, catcher, catcherY) {
  // A plain loop: a mapping function per byte would hold up the page's start
  // by a tenth of a second and count in the time to the menu.
  const menuBytes = atob(menuBase64);
  const menu = new Uint8Array(menuBytes.length);
  for (let i = 0; i < menu.length; ++i) menu[i] = menuBytes.charCodeAt(i);
  window.measured = { firstAt: null, menuAt: null, presses: [] };
  let pending = null;
  let inAnimationFrame = false;
  const requestAnimationFrame = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) =>
    requestAnimationFrame((time) => {
      inAnimationFrame = true;
      try {
        callback(time);
      } finally {
        inAnimationFrame = false;
      }
    });
  const catcherAt = (context) => {
    const row = context.getImageData(0, catcherY, 640, 1).data;
    for (let x = 0; 4 * x + catcher.length <= row.length; ++x) {
      if (catcher.every((value, i) => row[4 * x + i] === value)) return x;
    }
    return -1;
  };
  window.addEventListener(
    'keydown',
    (event) => {
      if (event.code !== 'ArrowLeft' && event.code !== 'ArrowRight') return;
      const context = document.querySelector('canvas').getContext('2d');
      pending = { timeStamp: event.timeStamp, before: catcherAt(context) };
    },
    true,
  );
  const putImageData = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    putImageData.apply(this, args);
    const now = performance.now();
    if (window.measured.firstAt === null) window.measured.firstAt = now;
    if (window.measured.menuAt === null) {
      const shown = this.getImageData(0, 0, 640, 480).data;
      if (shown.every((value, i) => value === menu[i])) window.measured.menuAt = now;
    }
    if (pending && catcherAt(this) !== pending.before) {
      const { timeStamp } = pending;
      const press = { toCanvas: now - timeStamp };
      pending = null;
      window.measured.presses.push(press);
      if (inAnimationFrame) press.toScreen = press.toCanvas;
      else requestAnimationFrame(() => (press.toScreen = performance.now() - timeStamp));
    }
  };
}

// CPU seconds of every Chromium process so far (user + system).
function chromiumCpuSeconds(browser) {
  const tick = 100;  // USER_HZ on Linux
  const root = browser.process().pid;
  const children = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
      const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
      children.set(Number(entry), { parent: Number(fields[1]), cpu: Number(fields[11]) + Number(fields[12]) });
    } catch {
      // gone meanwhile
    }
  }
  let total = 0;
  const visit = (pid) => {
    total += children.get(pid)?.cpu || 0;
    for (const [child, info] of children) if (info.parent === pid) visit(child);
  };
  visit(root);
  return total / tick;
}

// The CPU share (% of one core) of all of Chromium, and the page's main
// thread's busy time, over `action`.
async function cpuDuring(page, browser, action) {
  const session = await page.createCDPSession();
  await session.send('Performance.enable');
  const busy = async () =>
    (await session.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const [cpu0, busy0, wall0] = [chromiumCpuSeconds(browser), await busy(), Date.now()];
  await action();
  const [cpu1, busy1, wall1] = [chromiumCpuSeconds(browser), await busy(), Date.now()];
  await session.detach();
  const seconds = (wall1 - wall0) / 1000;
  return { chromium: (100 * (cpu1 - cpu0)) / seconds, mainThread: (100 * (busy1 - busy0)) / seconds };
}

async function measureRun(server, menu) {
  const browser = await kit.launchChromium();
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 600 });
  const catcher = [...reference.bmpRow(path.join(pictureFolder, 'faenger.bmp'), kCatcherRow)];
  await page.evaluateOnNewDocument(instrumentPage, menu, catcher, kCatcherY + kCatcherRow);
  await page.goto(server.url, { waitUntil: 'load' });
  await page.waitForFunction(() => window.measured.menuAt !== null, { timeout: 20000 });
  const result = await page.evaluate(() => ({ firstAt: window.measured.firstAt, menuAt: window.measured.menuAt }));

  await pause(1000);
  result.menuCpu = await cpuDuring(page, browser, () => pause(10000));

  // Three fresh rounds, Right held 2 s then Left 2 s in each.
  result.playCpu = await cpuDuring(page, browser, async () => {
    for (let round = 0; round < 3; ++round) {
      await page.keyboard.down('Space');
      await kit.waitForTitle(page, 'Spiel - Level 1 | Morvanta', 10000);
      await page.keyboard.up('Space');
      for (const key of ['ArrowRight', 'ArrowLeft']) {
        await page.keyboard.down(key);
        await pause(2000);
        await page.keyboard.up(key);
      }
      // Briefly: Esc still held in the menu would end the program.
      await page.keyboard.down('Escape');
      await pause(100);
      await page.keyboard.up('Escape');
      await kit.waitForTitle(page, 'Menü | Morvanta', 10000);
    }
  });

  // Key to canvas: 30 short presses in a fresh round.
  await page.keyboard.down('Space');
  await kit.waitForTitle(page, 'Spiel - Level 1 | Morvanta', 10000);
  await page.keyboard.up('Space');
  await pause(500);
  for (let i = 0; i < 30; ++i) {
    const key = i % 2 ? 'ArrowLeft' : 'ArrowRight';
    const count = (await page.evaluate(() => window.measured.presses.length)) + 1;
    await page.keyboard.down(key);
    await page.waitForFunction((n) => window.measured.presses.length >= n, { timeout: 5000 }, count);
    await page.keyboard.up(key);
    await pause(100 + Math.random() * 150);
  }
  await pause(100);
  result.presses = await page.evaluate(() => window.measured.presses);

  // A player who comes back: the browser has the storage already.
  await kit.reload(page);
  await page.waitForFunction(() => window.measured.menuAt !== null, { timeout: 20000 });
  result.menuAtReload = await page.evaluate(() => window.measured.menuAt);
  await browser.close();
  return result;
}

(async () => {
  transferSizes();
  const server = await kit.serveFolder(site);
  const menu = reference.menuFrame(menuFrameProgram, pictureFolder).toString('base64');
  const runs = Number(process.argv[5] || 1);
  for (let run = 0; run < runs; ++run) {
    const result = await measureRun(server, menu);
    print('first_frame_ms', result.firstAt);
    print('menu_first_frame_ms', result.menuAt);
    print('menu_first_frame_reload_ms', result.menuAtReload);
    print('menu_cpu_percent_chromium', result.menuCpu.chromium);
    print('menu_cpu_percent_main_thread', result.menuCpu.mainThread);
    print('play_cpu_percent_chromium', result.playCpu.chromium);
    print('play_cpu_percent_main_thread', result.playCpu.mainThread);
    print('key_to_canvas_median_ms', median(result.presses.map((p) => p.toCanvas)));
    print('key_to_screen_median_ms', median(result.presses.map((p) => p.toScreen)));
    print('key_to_canvas_ms', result.presses.map((p) => p.toCanvas.toFixed(1)).join(','));
  }
  await server.close();
})();
