// Runs before the program (--pre-js): the persistent folder, the key queue
// and the animation-frame presenter.
Module.keyEvents = [];
Module.canvasContext = document.getElementById('screen').getContext('2d');

Module.preRun = [
  () => {
    FS.mkdir('/persistent');
    FS.mount(IDBFS, {}, '/persistent');
    addRunDependency('persistent files');
    FS.syncfs(true, (error) => {
      if (error) console.error('reading persistent files failed', error);
      removeRunDependency('persistent files');
    });
  },
];

// The keys the program reads; the others keep their default action.
const gameKeys = new Set(['Escape', 'KeyS', 'Space', 'ArrowLeft', 'ArrowRight']);
const queueKey = (event, down) => {
  const characters = [...event.key];
  const typed = down && characters.length === 1 && !event.ctrlKey && !event.metaKey;
  Module.keyEvents.push({ down, code: event.code, character: typed ? event.key.codePointAt(0) : 0 });
  if (gameKeys.has(event.code) || typed) event.preventDefault();
};
window.addEventListener('keydown', (event) => queueKey(event, 1));
window.addEventListener('keyup', (event) => queueKey(event, 0));
window.addEventListener('blur', () => Module.keyEvents.push({ down: -1, code: '', character: 0 }));

Module.onRuntimeInitialized = () => {
  const present = () => {
    Module.presentedInFrame = false;
    Module._spike_frame();
    requestAnimationFrame(present);
  };
  requestAnimationFrame(present);
};
