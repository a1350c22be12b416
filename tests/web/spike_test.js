// The probe page of web/spike in a real browser: held keys move the catcher,
// typed keys arrive as code page 437 bytes, the canvas shows the framebuffer,
// and the saved file survives a reload.
// Usage: node spike_test.js <site folder>
'use strict';

const assert = require('node:assert/strict');
const { after, before, test } = require('node:test');
const browserKit = require('./browser.js');

const site = process.argv[2];
let server, browser, page;

before(async () => {
  assert.ok(site, 'usage: node spike_test.js <site folder>');
  server = await browserKit.serveFolder(site);
  browser = await browserKit.launchChromium();
  page = await browserKit.openPage(browser, server.url);
});

after(async () => {
  // What the page said, for the reader of a failure.
  if (page?.log.length) console.log(page.log.join('\n'));
  await browser?.close();
  await server?.close();
});

const titleNumbers = (title) => ({
  x: Number(/x=(\d+)/.exec(title)[1]),
  typed: /typed=([0-9a-f]*)/.exec(title)[1],
});

// The canvas's RGBA at one point, as an 0xRRGGBBAA number.
async function pixelAt(x, y) {
  const [r, g, b, a] = await browserKit.canvasPixels(page, x, y, 1, 1);
  return ((r << 24) | (g << 16) | (b << 8) | a) >>> 0;
}

test('the canvas shows the framebuffer, opaque and in the right channel order', async () => {
  await browserKit.waitForTitle(page, /^started x=296/);
  await page.waitForFunction(() => Module.presentedFrames > 0);
  assert.equal(await pixelAt(5, 300), 0x203040ff);
  assert.equal(await pixelAt(296 + 24, 408), 0xffffffff);
});

test('a held arrow key moves the catcher until it is released', async () => {
  const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
  await page.keyboard.down('ArrowRight');
  await browserKit.waitForTitle(page, /^started x=(3[2-9]\d|[4-5]\d\d)/);
  await page.keyboard.up('ArrowRight');
  await pause(300);
  const { x } = titleNumbers(await page.title());
  await pause(300);
  assert.equal(titleNumbers(await page.title()).x, x, 'the catcher still moves after the key was released');
  await page.waitForFunction(
    (x) => document.getElementById('screen').getContext('2d').getImageData(x + 24, 408, 1, 1).data[0] === 0xff,
    {},
    x,
  );
  assert.equal(await pixelAt(x - 2, 408), 0x203040ff);
});

test('typed text arrives as code page 437 bytes, "ü" as 0x81', async () => {
  await browserKit.typeText(page, 'aü');
  await browserKit.waitForTitle(page, /typed=6181$/);
  // Each typed byte is drawn as a cell whose red channel is the byte.
  await page.waitForFunction(
    () => document.getElementById('screen').getContext('2d').getImageData(22, 10, 1, 1).data[0] === 0x81,
  );
  assert.equal(await pixelAt(12, 10), 0x614080ff);
});

test('the saved file survives a reload', async () => {
  const { x } = titleNumbers(await page.title());
  await page.keyboard.down('s');
  await browserKit.waitForTitle(page, /^saved/);
  await page.keyboard.up('s');
  // "saved" shows once the file is in IndexedDB; the s typed itself too.
  const stored = await browserKit.storedFile(page, '/persistent', '/persistent/spike.sav');
  assert.equal(Buffer.from(stored).toString('latin1'), `${x},a\x81s`);
  await browserKit.reload(page);
  const loaded = titleNumbers(await browserKit.waitForTitle(page, /^loaded/));
  assert.deepEqual(loaded, { x, typed: '618173' });
});
