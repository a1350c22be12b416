// The page side of the probe, linked with --js-library: what the C++ code
// calls in JavaScript.
mergeInto(LibraryManager.library, {
  // Puts rows firstRow..lastRow of the RGBA buffer on the canvas. The view
  // is made on every call: growing memory replaces HEAPU8's buffer.
  spike_present: function (rgba, width, firstRow, lastRow) {
    const rows = lastRow - firstRow + 1;
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba + firstRow * width * 4, rows * width * 4);
    Module.canvasContext.putImageData(new ImageData(bytes, width, rows), 0, firstRow);
    Module.presentedInFrame = true;
    Module.presentedFrames = (Module.presentedFrames || 0) + 1;
  },

  // Whether the canvas got a picture in the current animation frame.
  spike_frame_presented: function () {
    return Module.presentedInFrame ? 1 : 0;
  },

  // Takes the oldest queued key event: down is 1, 0 for up, -1 for a lost
  // focus; code is KeyboardEvent.code; character is the typed code point or 0.
  spike_next_event: function (down, code, codeSize, character) {
    const event = Module.keyEvents.shift();
    if (!event) return 0;
    HEAP32[down >> 2] = event.down;
    stringToUTF8(event.code, code, codeSize);
    HEAP32[character >> 2] = event.character;
    return 1;
  },

  spike_set_title: function (text) {
    document.title = UTF8ToString(text);
  },

  spike_option: function (name) {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    if (value === null) return 0;
    const named = { timeout: 0, laundered: 1, spinning: 2, none: 3, prioritized: 4, null: 1, eager: 1 };
    return value in named ? named[value] : parseInt(value, 10) || 0;
  },

  // setTimeout, but the wake-up comes through a message, so the next sleep's
  // timer is not nested in this one and escapes the 4 ms clamp. (Asyncify is
  // there in every build that sleeps; the one without never calls this.)
  spike_sleep_laundered: function (ms) {
    Asyncify.handleSleep((wakeUp) => {
      const channel = new MessageChannel();
      channel.port1.onmessage = () => wakeUp();
      setTimeout(() => channel.port2.postMessage(0), ms);
    });
  },

  // A prioritized task: not clamped when nested, and not held back behind
  // rendering after an input event as timers and messages are.
  spike_sleep_prioritized: function (ms) {
    Asyncify.handleSleep((wakeUp) => scheduler.postTask(wakeUp, { priority: 'user-blocking', delay: ms }));
  },

  // Yields through messages until the time is up: exact, but busy.
  spike_sleep_spinning: function (ms) {
    Asyncify.handleSleep((wakeUp) => {
      const end = performance.now() + ms;
      const channel = new MessageChannel();
      channel.port1.onmessage = () => (performance.now() >= end ? wakeUp() : channel.port2.postMessage(0));
      channel.port2.postMessage(0);
    });
  },

  spike_report: function (json) {
    window.spikeReport = JSON.parse(UTF8ToString(json));
  },
});
