// The page's side of the web back end, run before the program (--pre-js):
// the player's files in the browser's storage, the page's input waiting for
// the program, the canvas and its animation frames. web_library.js is how
// the C++ code (web_driver.cpp) calls in here. The page (index.html) hands
// over its elements and hears what happens through Module:
//   Module.canvas, Module.fullScreenElement  the canvas, and what full screen shows
//   Module.onStorageUnavailable()            nothing the player saves outlives the page
//   Module.onScreenshot(name, blob)          a screenshot was written
// and gets Module.switchFullScreen(), for a button of its own.
'use strict';

// The folders the program sees: the pictures in the working folder, the
// player's files (game.sav, game.hsc, screenshots/) in IndexedDB. They stay
// apart, since syncing a folder with IndexedDB replaces all of its files.
const kWorkingFolder = '/morvanta';
const kPlayerFolder = '/player';
const kScreenshotFolder = kPlayerFolder + '/screenshots';

var webPage = {
  events: [],  // what the program takes at its next screen lock (WebEvent in web_driver.cpp)
  open: false,
  width: 0,
  height: 0,
  fullScreenAllowed: true,
  context: null,
  audio: null,
  beepsEnd: 0,
  maskedKeys: new Set(),  // the Enter of Alt+Enter, until it is released
  heldKeys: new Set(),  // KeyboardEvent.code of every key down, screen open or not
  screenshots: new Map(),  // name: time written, of those offered or there before
  wake: null,  // the message channel of timer wake-ups
  sleeper: null,  // the sleeping program: when its sleep ends, and how to wake it
  answeringUntil: 0,  // the program answers input until then (performance.now())

  // The modifier bits of web_keys.h.
  modifiers(event) {
    return (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0) | (event.metaKey ? 8 : 0) |
      (event.getModifierState && event.getModifierState('AltGraph') ? 16 : 0);
  },

  // The browser keeps its own keys: reload, its full screen, its tools, and
  // the shortcuts made with Ctrl or the system key.
  leftToBrowser(event) {
    if (event.code === 'F5' || event.code === 'F11' || event.code === 'F12') return true;
    return (event.ctrlKey || event.metaKey) && !event.altKey && event.key !== 'Enter';
  },

  keyDown(event) {
    if (event.altKey && (event.code === 'Enter' || event.code === 'NumpadEnter')) {
      // The switch's Enter reaches the program neither pressed nor released.
      webPage.maskedKeys.add(event.code);
      event.preventDefault();
      if (!event.repeat && webPage.fullScreenAllowed) webPage.switchFullScreen();
      return;
    }
    if (event.isComposing) return;
    webPage.heldKeys.add(event.code);
    if (!webPage.open) return;
    if (!webPage.leftToBrowser(event)) event.preventDefault();
    webPage.events.push({ kind: 1, value: webPage.modifiers(event), code: event.code, key: event.key });
    if (!event.repeat) webPage.answerInput();
  },

  keyUp(event) {
    webPage.heldKeys.delete(event.code);
    if (webPage.maskedKeys.delete(event.code) || !webPage.open) return;
    if (!webPage.leftToBrowser(event)) event.preventDefault();
    webPage.events.push({ kind: 2, code: event.code });
    webPage.answerInput();
  },

  // The pointer in screen pixels, whatever the canvas's size on the page.
  pointer(event) {
    if (!webPage.open) return;
    const canvas = Module.canvas;
    const box = canvas.getBoundingClientRect();
    const x = Math.floor(((event.clientX - box.left) * canvas.width) / box.width);
    const y = Math.floor(((event.clientY - box.top) * canvas.height) / box.height);
    webPage.events.push({ kind: 3, x, y, value: event.buttons & 31 });
  },

  pointerDown(event) {
    // Moves past the canvas's edge keep arriving while a button is held.
    Module.canvas.setPointerCapture(event.pointerId);
    Module.canvas.focus();
    webPage.pointer(event);
    webPage.answerInput();
  },

  pointerUp(event) {
    webPage.pointer(event);
    webPage.answerInput();
  },

  wheel(event) {
    event.preventDefault();
    if (webPage.open && event.deltaY !== 0) webPage.events.push({ kind: 4, value: event.deltaY < 0 ? 1 : -1 });
  },

  focus(gained) {
    webPage.heldKeys.clear();
    if (webPage.open) webPage.events.push({ kind: 5, value: gained ? 1 : 0 });
  },

  listen() {
    const canvas = Module.canvas;
    window.addEventListener('keydown', webPage.keyDown);
    window.addEventListener('keyup', webPage.keyUp);
    window.addEventListener('blur', () => webPage.focus(false));
    window.addEventListener('focus', () => webPage.focus(true));
    canvas.addEventListener('pointerdown', webPage.pointerDown);
    canvas.addEventListener('pointermove', webPage.pointer);
    canvas.addEventListener('pointerup', webPage.pointerUp);
    canvas.addEventListener('pointercancel', webPage.pointer);
    canvas.addEventListener('pointerleave', () => webPage.open && webPage.events.push({ kind: 6 }));
    canvas.addEventListener('wheel', webPage.wheel, { passive: false });
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  },

  // The program opened its screen: the canvas takes its size, and input
  // from now on is the program's.
  openScreen(width, height, flags) {
    const canvas = Module.canvas;
    canvas.width = width;
    canvas.height = height;
    webPage.context = canvas.getContext('2d', { alpha: false });
    webPage.width = width;
    webPage.height = height;
    webPage.fullScreenAllowed = (flags & 4) === 0;
    // Keys pressed before are not typed into the program, but they are held.
    webPage.events = [...webPage.heldKeys].map((code) => ({ kind: 7, code }));
    webPage.open = true;
    return document.hasFocus();
  },

  // The program drew something: the next animation frame shows it.
  requestFrame() {
    requestAnimationFrame(() => webPage.open && _morvanta_web_animation_frame());
  },

  closeScreen() {
    webPage.open = false;
    webPage.events.length = 0;
  },

  present(rgba, width, first, rows) {
    // A fresh view each time: growing memory replaces the heap's buffer.
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba + first * width * 4, rows * width * 4);
    webPage.context.putImageData(new ImageData(pixels, width, rows), 0, first);
  },

  switchFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(() => {});
    } else {
      const element = Module.fullScreenElement || Module.canvas;
      if (element.requestFullscreen) element.requestFullscreen().catch(() => {});
    }
  },

  // The 1000 Hz square wave of 250 ms; beeps in a row follow each other.
  beep() {
    const AudioContext = window.AudioContext || window.webkitAudioContext;
    if (!AudioContext) return;
    const audio = webPage.audio || (webPage.audio = new AudioContext());
    if (audio.state === 'suspended') audio.resume();
    const start = Math.max(audio.currentTime, webPage.beepsEnd);
    webPage.beepsEnd = start + 0.25;
    const tone = audio.createOscillator();
    const volume = audio.createGain();
    tone.type = 'square';
    tone.frequency.value = 1000;
    volume.gain.value = 0.18;
    tone.connect(volume).connect(audio.destination);
    tone.start(start);
    tone.stop(webPage.beepsEnd);
  },

  // Wakes the sleeping program after `ms`. A timer set from a timer's
  // callback waits at least 4 ms once they nest deeply, and every wake-up
  // runs in the previous one's callback, so a 1 ms sleep would last 4. A
  // prioritized task is not held to that; where there is none, the timer
  // wakes the program through a message, which ends the nesting.
  wakeAfter(ms, wakeUp) {
    const due = performance.now() + ms;
    if (due <= webPage.answeringUntil) {
      webPage.waitUntil(due);
      return wakeUp();
    }
    const sleeper = {
      due,
      wakeUp() {
        if (webPage.sleeper !== sleeper) return;  // answered meanwhile
        webPage.sleeper = null;
        wakeUp();
      },
    };
    webPage.sleeper = sleeper;
    if (typeof scheduler !== 'undefined' && scheduler.postTask) {
      scheduler.postTask(sleeper.wakeUp, { priority: 'user-blocking', delay: ms });
      return;
    }
    if (!webPage.wake) webPage.wake = new MessageChannel();
    webPage.wake.port1.onmessage = sleeper.wakeUp;
    setTimeout(() => webPage.wake.port2.postMessage(0), ms);
  },

  waitUntil(time) {
    while (performance.now() < time) {
      // The program's sleep, kept without giving the page a turn.
    }
  },

  // A key or button was pressed or released. The browser now renders the
  // page before it runs any other task, so the program, woken by a task,
  // would see the input only after the next animation frame and show its
  // answer one frame later still. A program whose sleep ends within
  // kAnswerWaitMs runs in this event's task instead, for kAnswerMs, sleeping
  // by the clock meanwhile: its answer is then drawn before that animation
  // frame. Sleeps last as long either way.
  answerInput() {
    const kAnswerWaitMs = 2;
    const kAnswerMs = 8;
    const sleeper = webPage.sleeper;
    if (!sleeper || sleeper.due > performance.now() + kAnswerWaitMs) return;
    webPage.answeringUntil = performance.now() + kAnswerMs;
    webPage.waitUntil(sleeper.due);
    sleeper.wakeUp();
    webPage.answeringUntil = 0;
  },

  // The player's folder in IndexedDB, read before the program starts. Where
  // the browser keeps no storage, the folder lives in memory for this visit.
  mountPlayerFolder() {
    FS.mkdirTree(kPlayerFolder);
    addRunDependency('player folder');
    const done = (stored) => {
      if (!stored) {
        FS.mount(MEMFS, {}, kPlayerFolder);
        if (Module.onStorageUnavailable) Module.onStorageUnavailable();
      }
      FS.mkdirTree(kScreenshotFolder);
      for (const name of FS.readdir(kScreenshotFolder)) webPage.screenshotChanged(name);
      removeRunDependency('player folder');
    };
    webPage.storageWorks.then((works) => {
      if (!works) return done(false);
      FS.mount(IDBFS, {}, kPlayerFolder);
      FS.syncfs(true, (error) => {
        if (!error) return done(true);
        FS.unmount(kPlayerFolder);
        done(false);
      });
    });
  },

  // Whether IndexedDB opens; a browser may have it and refuse (private
  // windows, storage switched off). Asked while the program downloads.
  storageWorks: new Promise((answer) => {
    let request;
    try {
      request = indexedDB.open(kPlayerFolder);
    } catch (error) {
      return answer(false);
    }
    request.onsuccess = () => {
      request.result.close();
      answer(true);
    };
    request.onerror = (event) => {
      event.preventDefault();
      answer(false);
    };
  }),

  // The program writes a file to IndexedDB when it closes it (fsync). A
  // screenshot that is new there is offered to the page as well.
  watchScreenshots() {
    const syncfs = IDBFS.syncfs;
    IDBFS.syncfs = (mount, populate, callback) =>
      syncfs(mount, populate, (error) => {
        if (!populate && !error) webPage.offerNewScreenshots();
        callback(error);
      });
  },

  offerNewScreenshots() {
    for (const name of FS.readdir(kScreenshotFolder)) {
      if (!name.endsWith('.bmp') || !webPage.screenshotChanged(name)) continue;
      const bytes = FS.readFile(kScreenshotFolder + '/' + name);
      if (Module.onScreenshot) Module.onScreenshot(name, new Blob([bytes], { type: 'image/bmp' }));
    }
  },

  // Notes when `name` was written; true if that differs from the last note.
  // Pictures taken within one second share a name: each replaces the last.
  screenshotChanged(name) {
    const written = FS.stat(kScreenshotFolder + '/' + name).mtime.getTime();
    if (webPage.screenshots.get(name) === written) return false;
    webPage.screenshots.set(name, written);
    return true;
  },
};

Module.switchFullScreen = webPage.switchFullScreen;

// The packed files (--preload-file) are set up in a preRun of their own.
Module.preRun = Module.preRun || [];
Module.preRun.push(
  () => {
    ENV.MORVANTA_PLAYER_FOLDER = kPlayerFolder;
    FS.mkdirTree(kWorkingFolder);
    FS.chdir(kWorkingFolder);
    webPage.watchScreenshots();
    webPage.mountPlayerFolder();
  },
);

// The program's end: main returns out of the resumption after its last
// sleep, where Emscripten does not look for it, so the runtime is ended here
// (and Module.onExit hears of it).
Module.postRun = Module.postRun || [];
Module.postRun.push(() => {
  if (!Asyncify.currData) return;
  Asyncify.whenDone().then((status) => {
    try {
      exit(status);
    } catch (end) {
      if (!(end instanceof ExitStatus)) throw end;  // how exit leaves
    }
  });
});

// Keys held before the program runs count once its screen opens.
webPage.listen();
