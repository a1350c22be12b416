// What the web back end's C++ code (web_driver.cpp, web_sleep.cpp) calls on
// the page (--js-library). The page's side itself is webPage, in web_pre.js.
mergeInto(LibraryManager.library, {
  morvanta_web_open: function (width, height, flags) {
    return webPage.openScreen(width, height, flags) ? 1 : 0;
  },

  morvanta_web_close: function () {
    webPage.closeScreen();
  },

  // Writes the oldest event into a WebEvent (web_driver.cpp): four int32
  // fields, then the key's code and KeyboardEvent.key in 32 bytes each.
  morvanta_web_next_event: function (event) {
    const next = webPage.events.shift();
    if (!next) return 0;
    HEAP32[event >> 2] = next.kind;
    HEAP32[(event >> 2) + 1] = next.x | 0;
    HEAP32[(event >> 2) + 2] = next.y | 0;
    HEAP32[(event >> 2) + 3] = next.value | 0;
    stringToUTF8(next.code || '', event + 16, 32);
    stringToUTF8(next.key || '', event + 48, 32);
    return 1;
  },

  morvanta_web_request_frame: function () {
    webPage.requestFrame();
  },

  morvanta_web_present: function (rgba, width, first, rows) {
    webPage.present(rgba, width, first, rows);
  },

  morvanta_web_set_title: function (utf8) {
    document.title = UTF8ToString(utf8);
  },

  morvanta_web_show_pointer: function (visible) {
    Module.canvas.style.cursor = visible ? 'default' : 'none';
  },

  morvanta_web_beep: function () {
    webPage.beep();
  },

  // The program's sleep: it is suspended and resumed after `ms` (an
  // ASYNCIFY_IMPORTS entry of the link).
  morvanta_web_sleep: function (ms) {
    Asyncify.handleSleep((wakeUp) => webPage.wakeAfter(ms, wakeUp));
  },
});
