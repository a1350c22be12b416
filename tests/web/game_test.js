// The game on its page in headless Chromium: the canvas shows what the
// desktop build draws, the keyboard and the mouse play it, and the player's
// files outlive a reload. One browser and one page play through in order.
// Usage: node game_test.js <site folder> <web_menu_frame program> <picture folder>
'use strict';

const assert = require('node:assert/strict');
const path = require('node:path');
const { after, before, test } = require('node:test');
const kit = require('./browser.js');
const reference = require('./reference.js');

const [site, menuFrameProgram, pictureFolder] = process.argv.slice(2);
const kPlayerFolder = '/player';
const kSaveFile = `${kPlayerFolder}/game.sav`;
const kHighscoreFile = `${kPlayerFolder}/game.hsc`;
const kMenuTitle = 'Menü | Morvanta';
const kScreenWidth = 640;
const kCatcherY = 400;
let server, browser, page;

before(async () => {
  assert.ok(pictureFolder, 'usage: node game_test.js <site folder> <web_menu_frame program> <picture folder>');
  server = await kit.serveFolder(site);
  browser = await kit.launchChromium();
  page = await kit.openPage(browser, server.url);
});

after(async () => {
  // What the page said, for the reader of a failure.
  if (page?.log.length) console.log(page.log.join('\n'));
  await browser?.close();
  await server?.close();
});

const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function press(key) {
  await page.keyboard.down(key);
  await pause(100);
  await page.keyboard.up(key);
}

// Holds `key` until the title is `title`: a screen polls its keys only once
// it is ready for them.
async function holdUntilTitle(key, title) {
  await page.keyboard.down(key);
  await kit.waitForTitle(page, title, 15000);
  await page.keyboard.up(key);
}

// Asks `probe` every 20 ms until it returns a value `accept` takes.
async function until(probe, accept, what, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await probe();
    if (accept(value)) return value;
    if (Date.now() > end) assert.fail(`${what}: still ${JSON.stringify(value)} after ${timeout} ms`);
    await pause(20);
  }
}

// Where the catcher stands: the column at which a row of its picture lies on
// the canvas (the round draws it opaque, last but the message line), or -1.
const kCatcherRow = 15;
const catcherPixels = reference.bmpRow(path.join(pictureFolder, 'faenger.bmp'), kCatcherRow);
async function catcherX() {
  const row = await kit.canvasPixels(page, 0, kCatcherY + kCatcherRow, kScreenWidth, 1);
  const span = catcherPixels.length;
  for (let x = 0; x * 4 + span <= row.length; ++x) {
    if (Buffer.compare(row.subarray(x * 4, x * 4 + span), catcherPixels) === 0) return x;
  }
  return -1;
}

// The saved game's eight numbers by name, in the file's order.
const kSavedFields = ['objectY', 'catcherX', 'points', 'level', 'stones', 'objectKind', 'lives', 'objectX'];
function savedGame(bytes) {
  const numbers = Buffer.from(bytes).toString('latin1').trim().split(',').map(Number);
  return Object.fromEntries(kSavedFields.map((name, i) => [name, numbers[i]]));
}

test('the menu is, byte for byte, the frame the desktop build draws', async () => {
  const expected = reference.menuFrame(menuFrameProgram, pictureFolder);
  assert.equal(expected.length, 640 * 480 * 4);
  await page.evaluate((base64) => {
    window.expectedMenu = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    window.menuDifference = () => {
      const shown = document.querySelector('canvas').getContext('2d').getImageData(0, 0, 640, 480).data;
      let count = 0;
      let first = -1;
      for (let i = 0; i < shown.length; ++i) {
        if (shown[i] === window.expectedMenu[i]) continue;
        if (first < 0) first = i;
        ++count;
      }
      return { count, first: first < 0 ? null : { x: (first >> 2) % 640, y: Math.floor(first / 2560) } };
    };
  }, expected.toString('base64'));
  await kit.waitForTitle(page, kMenuTitle);
  // The intro comes first; the menu follows it 2.5 s after the start.
  await until(() => page.evaluate(() => window.menuDifference()), (d) => d.count === 0, 'bytes differing', 15000);
});

test('Alt+Enter switches full screen and back, the picture at a whole-number scale', async () => {
  const altEnter = async () => {
    await page.keyboard.down('Alt');
    await page.keyboard.press('Enter');
    await page.keyboard.up('Alt');
  };
  await altEnter();
  await page.waitForFunction(() => document.fullscreenElement?.id === 'stage', { timeout: 5000 });
  const scale = await page.$eval('canvas', (canvas) => (parseFloat(canvas.style.width) * devicePixelRatio) / 640);
  assert.ok(Number.isInteger(scale) && scale >= 1, `scale ${scale}`);
  await altEnter();
  await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 5000 });
});

test('Space starts a round; held arrow keys move the catcher', async () => {
  await holdUntilTitle('Space', 'Spiel - Level 1 | Morvanta');
  const start = await until(catcherX, (x) => x >= 0, 'the catcher');
  await page.keyboard.down('ArrowRight');
  await until(catcherX, (x) => x >= start + 100, 'the catcher, Right held');
  await page.keyboard.up('ArrowRight');
  // Released, it stays.
  await pause(100);
  const stopped = await catcherX();
  await pause(300);
  assert.equal(await catcherX(), stopped);
  await page.keyboard.down('ArrowLeft');
  await until(catcherX, (x) => x >= 0 && x <= stopped - 50, 'the catcher, Left held');
  await page.keyboard.up('ArrowLeft');
});

test('dragging with the mouse puts the catcher at the pointer, on a canvas at twice the size', async () => {
  await page.setViewport({ width: 1400, height: 1100 });
  await until(() => page.$eval('canvas', (canvas) => canvas.style.width), (width) => width === '1280px', 'canvas size');
  const box = await page.$eval('canvas', (canvas) => canvas.getBoundingClientRect().toJSON());
  // The middle of screen pixel (x, y), in the page's pixels.
  const at = (x, y) => [box.x + ((x + 0.5) * box.width) / 640, box.y + ((y + 0.5) * box.height) / 480];
  await page.mouse.move(...at((await catcherX()) + 10, 410));
  await page.mouse.down();
  await page.mouse.move(...at(300, 410), { steps: 4 });
  await page.mouse.move(...at(400, 410), { steps: 4 });
  await until(catcherX, (x) => x === 400, 'the catcher, dragged to 400');
  await page.mouse.up();
  await page.setViewport({ width: 800, height: 600 });
});

test('S in a round writes a screenshot into storage and offers it for download', async () => {
  await press('s');
  const name = await until(
    async () => (await kit.storedPaths(page, kPlayerFolder)).find((p) => /\/screenshots\/screen.*\.bmp$/.test(p)),
    Boolean,
    'a stored screenshot',
  );
  const bytes = await kit.storedFile(page, kPlayerFolder, name);
  assert.equal(bytes.length, 1228854);
  assert.equal(Buffer.from(bytes.subarray(0, 2)).toString('latin1'), 'BM');
  const offered = await page.waitForSelector(`a[download="${path.basename(name)}"]`, { timeout: 5000 });
  assert.match(await offered.evaluate((link) => link.href), /^blob:/);
});

test('Esc, then S saves; after a reload F resumes the saved game', async () => {
  const x = await catcherX();
  await press('Escape');
  await kit.waitForTitle(page, kMenuTitle);
  await holdUntilTitle('s', 'Spiel speichern | Morvanta');
  const stored = await until(() => kit.storedFile(page, kPlayerFolder, kSaveFile), Boolean, 'the stored save file');
  const saved = savedGame(stored);
  assert.equal(saved.catcherX, x);
  assert.ok(saved.objectY > 0, 'a game is saved');
  await kit.reload(page);
  await holdUntilTitle('f', 'Spiel laden | Morvanta');
  await kit.waitForTitle(page, `Spiel - Level ${saved.level} | Morvanta`);
  assert.equal(await until(catcherX, (found) => found >= 0, 'the catcher'), saved.catcherX);
});

test('a new record asks for the name; "ü" arrives in the highscore file as byte 0x81', async () => {
  // A saved game one missed stone from its end, with points that beat the
  // empty highscore and make no new level.
  const game = savedGame(await kit.storedFile(page, kPlayerFolder, kSaveFile));
  Object.assign(game, { objectY: 300, objectX: 100, catcherX: 600, objectKind: 1, points: 7, level: 1, lives: 1 });
  const record = kSavedFields.map((name) => game[name]).join(',') + '\r\n';
  await kit.storeFile(page, kPlayerFolder, kSaveFile, Buffer.from(record, 'latin1'));
  await kit.reload(page);
  await holdUntilTitle('f', 'Spiel laden | Morvanta');
  await kit.waitForTitle(page, 'Neue Highscore | Morvanta', 20000);
  await kit.typeText(page, 'Jürgen');
  await press('Enter');
  const highscore = await until(
    () => kit.storedFile(page, kPlayerFolder, kHighscoreFile),
    (bytes) => bytes !== null,
    'the stored highscore',
  );
  const text = Buffer.from(highscore).toString('latin1');
  assert.match(text, /^7,/);
  assert.ok(text.includes('J\x81rgen'), `the name's bytes in ${JSON.stringify(text)}`);
});

test('Esc in the menu ends the program, and the page says so', async () => {
  // A typed key shortens each pause of the game-over notice.
  await until(
    async () => {
      await press('x');
      return page.title();
    },
    (title) => title === kMenuTitle,
    'the title after the game-over notice',
    20000,
  );
  await press('Escape');
  await page.waitForFunction(() => document.getElementById('notes').textContent.includes('beendet'), {
    timeout: 5000,
  });
});

test('without storage the game runs and the page says its files will not last; without WebAssembly it says why', async () => {
  await page.evaluateOnNewDocument(() => {
    indexedDB.open = () => {
      throw new DOMException('storage is switched off', 'SecurityError');
    };
  });
  await kit.reload(page);
  await kit.waitForTitle(page, kMenuTitle);
  assert.match(await page.$eval('#notes', (notes) => notes.textContent), /speichert nichts dauerhaft/);
  await page.evaluateOnNewDocument(() => delete window.WebAssembly);
  await kit.reload(page);
  assert.match(await page.$eval('#notes', (notes) => notes.textContent), /fehlt WebAssembly/);
});
