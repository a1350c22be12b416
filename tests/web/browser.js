// Drives a page in Debian's headless Chromium over the DevTools protocol:
// a static server for the site folder, the browser, and the few things a
// test does to a page (wait, keys, canvas pixels, reload).
'use strict';

const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const mimeTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  // instantiateStreaming insists on this type.
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
};

// Serves `root` on 127.0.0.1 at a port the system picks. Nothing outside
// `root` is reachable, and nothing is cached, so a reload sees a fresh build.
function serveFolder(root) {
  const base = path.resolve(root);
  const server = http.createServer((request, response) => {
    const urlPath = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    let file = path.join(base, urlPath);
    if (file !== base && !file.startsWith(base + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    if (urlPath === '/favicon.ico') {
      response.writeHead(204).end();  // asked for by every page; not worth a 404 in the log
      return;
    }
    if (urlPath.endsWith('/')) file = path.join(file, 'index.html');
    fs.readFile(file, (error, body) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, {
        'Content-Type': mimeTypes[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(body);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      resolve({ url: `http://127.0.0.1:${port}/`, close: () => new Promise((done) => server.close(done)) });
    });
  });
}

// Headless Chromium with a fresh profile that is removed on close. The flags
// keep it off the network and able to run as root in a container.
async function launchChromium() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'morvanta-chromium-'));
  const browser = await puppeteer.launch({
    dumpio: Boolean(process.env.MORVANTA_CHROMIUM_LOG),
    executablePath: process.env.MORVANTA_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--disable-dev-shm-usage',
      // A page in a headless browser counts as visible, but the timers of
      // one that was ever in the background would be slowed down.
      '--disable-background-timer-throttling',
      '--disable-renderer-backgrounding',
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Opens `url` in a new page of `browser`; whatever the page logs or throws
// is kept in `page.log` so that a failing test can show it.
async function openPage(browser, url) {
  const page = await browser.newPage();
  page.log = [];
  page.on('console', (message) => page.log.push(`console.${message.type()}: ${message.text()}`));
  page.on('pageerror', (error) => page.log.push(`page error: ${error.message}`));
  await page.setViewport({ width: 800, height: 600 });
  await page.goto(url, { waitUntil: 'load' });
  return page;
}

// Waits until document.title equals `title` (a string) or matches it (a
// RegExp); returns the title.
async function waitForTitle(page, title, timeout = 10000) {
  const isRegExp = title instanceof RegExp;
  await page.waitForFunction(
    (source, flags, text) => (source !== null ? new RegExp(source, flags).test(document.title) : document.title === text),
    { timeout, polling: 10 },
    isRegExp ? title.source : null,
    isRegExp ? title.flags : null,
    isRegExp ? null : title,
  );
  return page.title();
}

// Where a German keyboard has the letters that puppeteer's US layout lacks.
const germanKeys = {
  ä: 'Quote', ö: 'Semicolon', ü: 'BracketLeft', Ä: 'Quote', Ö: 'Semicolon', Ü: 'BracketLeft', ß: 'Minus',
};

// Types `text` key by key. puppeteer types a character its layout lacks
// with Input.insertText, which no keydown announces and which reaches only
// editable elements; a German keyboard sends a keydown with the character
// as key and text, so that is what is sent for those.
async function typeText(page, text) {
  const session = await page.createCDPSession();
  for (const character of text) {
    const code = germanKeys[character];
    if (!code) {
      await page.keyboard.type(character);
      continue;
    }
    const shift = character !== character.toLowerCase() ? 8 : 0;  // the modifier bit of Shift
    const key = { key: character, code, modifiers: shift };
    await session.send('Input.dispatchKeyEvent', { type: 'keyDown', ...key, text: character, unmodifiedText: character });
    await session.send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
  }
  await session.detach();
}

// The RGBA bytes of a rectangle of the first canvas, as the page shows them.
async function canvasPixels(page, x, y, width, height, selector = 'canvas') {
  const bytes = await page.$eval(
    selector,
    (canvas, x, y, width, height) => Array.from(canvas.getContext('2d').getImageData(x, y, width, height).data),
    x,
    y,
    width,
    height,
  );
  return Uint8Array.from(bytes);
}

// Emscripten keeps the files of a folder mounted from IndexedDB in a database
// named after the folder, one record per path (with its time and mode).
// They are read and written here through IndexedDB itself, not through the
// program's memory: that is what a reload finds. `operation` is 'get' (the
// bytes of `path`, or null), 'paths' (every path stored) or 'put' (stores
// `bytes` as the file at `path`).
function fileStore(page, mountPoint, operation, path = null, bytes = null) {
  return page.evaluate(
    (mountPoint, operation, path, bytes) =>
      new Promise((resolve, reject) => {
        const open = indexedDB.open(mountPoint);
        open.onerror = () => reject(open.error);
        open.onsuccess = () => {
          const database = open.result;
          if (!database.objectStoreNames.contains('FILE_DATA')) return resolve(null);
          const transaction = database.transaction('FILE_DATA', operation === 'put' ? 'readwrite' : 'readonly');
          const store = transaction.objectStore('FILE_DATA');
          const request =
            operation === 'get' ? store.get(path)
            : operation === 'paths' ? store.getAllKeys()
            : store.put({ timestamp: new Date(), mode: 0o100644, contents: Uint8Array.from(bytes) }, path);
          transaction.onerror = () => reject(transaction.error);
          transaction.oncomplete = () => {
            const result = request.result;
            if (operation === 'get') resolve(result?.contents ? Array.from(result.contents) : null);
            else resolve(operation === 'paths' ? result : null);
          };
        };
      }),
    mountPoint,
    operation,
    path,
    bytes && Array.from(bytes),
  );
}

async function storedFile(page, mountPoint, path) {
  const bytes = await fileStore(page, mountPoint, 'get', path);
  return bytes && Uint8Array.from(bytes);
}

async function storedPaths(page, mountPoint) {
  return (await fileStore(page, mountPoint, 'paths')) || [];
}

async function storeFile(page, mountPoint, path, bytes) {
  await fileStore(page, mountPoint, 'put', path, bytes);
}

// Reloads the page and waits for its load event; IndexedDB stays, as it does
// for a player who comes back.
async function reload(page) {
  await page.reload({ waitUntil: 'load' });
}

module.exports = {
  serveFolder,
  launchChromium,
  openPage,
  waitForTitle,
  typeText,
  canvasPixels,
  storedFile,
  storedPaths,
  storeFile,
  reload,
};
