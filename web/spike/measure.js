// Times the probe in headless Chromium: frames of the round's shape (draw,
// sleep 2 ms, sleep 1 ms) with each way of sleeping, the drawing alone, and
// a million small locking calls; and the page's CPU while it runs.
// Usage (from tests/web, where puppeteer-core is installed):
//   node ../../web/spike/measure.js <folder with the variant sites> [latency]
'use strict';

const path = require('node:path');
const browserKit = require(path.resolve(__dirname, '../../tests/web/browser.js'));

// A browser of its own for every run: opening a page after a busy one was
// closed has hung now and then.
async function measure(url) {
  const browser = await browserKit.launchChromium();
  const page = await browserKit.openPage(browser, url);
  const session = await page.createCDPSession();
  await session.send('Performance.enable');
  const taskSeconds = async () =>
    (await session.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
  const cpuBefore = await taskSeconds();
  const start = Date.now();
  await page.waitForFunction(() => window.spikeReport, { timeout: 120000, polling: 50 });
  const cpu = (await taskSeconds()) - cpuBefore;
  const report = await page.evaluate(() => window.spikeReport);
  await browser.close();
  return { ...report, cpuShare: +(cpu / ((Date.now() - start) / 1000)).toFixed(2) };
}

// From an arrow key's keydown (its timeStamp) to the program taking it from
// the queue, and to the first picture put on the canvas after that: the
// medians of `presses` presses, in ms. Left and Right take turns, so the
// catcher stays clear of the edges.
async function keyToCanvas(url, presses) {
  const browser = await browserKit.launchChromium();
  const page = await browserKit.openPage(browser, url);
  await browserKit.waitForTitle(page, /^started/);
  await new Promise((resolve) => setTimeout(resolve, 1500)); // past the start-up sleep
  await page.evaluate(() => {
    window.samples = [];
    let pressedAt, takenAt;
    addEventListener('keydown', (event) => {
      pressedAt = event.timeStamp;
      takenAt = undefined;
    });
    const queue = Module.keyEvents;
    const shift = queue.shift;
    queue.shift = function () {
      const event = shift.call(this);
      if (event?.down === 1 && pressedAt !== undefined && takenAt === undefined) takenAt = performance.now();
      return event;
    };
    const context = Module.canvasContext;
    const put = context.putImageData;
    context.putImageData = function (...args) {
      put.apply(this, args);
      if (takenAt === undefined || pressedAt === undefined) return;
      samples.push([takenAt - pressedAt, performance.now() - pressedAt]);
      pressedAt = undefined;
    };
  });
  for (let press = 0; press < presses; ++press) {
    const key = press % 2 ? 'ArrowLeft' : 'ArrowRight';
    await new Promise((resolve) => setTimeout(resolve, 60 + Math.random() * 40));
    await page.keyboard.down(key);
    await new Promise((resolve) => setTimeout(resolve, 40));
    await page.keyboard.up(key);
  }
  const samples = await page.evaluate(() => window.samples);
  await browser.close();
  const median = (column) => {
    const values = samples.map((sample) => sample[column]).sort((a, b) => a - b);
    return +values[values.length >> 1].toFixed(1);
  };
  return { presses: samples.length, keyTakenMs: median(0), keyToCanvasMs: median(1) };
}

(async () => {
  const root = process.argv[2];
  if (process.argv[3] === 'latency') {
    const server = await browserKit.serveFolder(path.join(root, 'ignore-indirect'));
    for (const query of ['sleep=timeout', 'sleep=laundered', 'sleep=prioritized', 'sleep=laundered&present=eager']) {
      console.log(query, await keyToCanvas(`${server.url}?${query}`, 30));
    }
    await server.close();
    return;
  }
  const rows = [];
  for (const variant of ['none', 'all', 'ignore-indirect', 'only']) {
    const server = await browserKit.serveFolder(path.join(root, variant));
    const sleeps = variant === 'none' ? ['none'] : ['none', 'timeout', 'laundered', 'prioritized', 'spinning'];
    for (const sleep of sleeps) {
      const frames = sleep === 'none' ? 5000 : 1000;
      // The machine is shared: the best of three runs is the least disturbed.
      const runs = [];
      for (let run = 0; run < 3; ++run) runs.push(await measure(`${server.url}?measure=${frames}&sleep=${sleep}`));
      const best = Object.fromEntries(Object.keys(runs[0]).map((key) => [key, Math.min(...runs.map((r) => r[key]))]));
      rows.push({ variant, sleep, ...best });
      console.error(JSON.stringify(rows.at(-1)));
    }
    await server.close();
  }
  console.table(rows);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
