// What the page should show, as its canvas holds it (R, G, B, A bytes):
// the menu as the desktop build draws it, and rows of the game's pictures.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

// The menu's first frame, drawn by the desktop build on the null back end
// (the web_menu_frame program) from the pictures in `pictureFolder`.
function menuFrame(menuFrameProgram, pictureFolder) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'morvanta-menu-'));
  const file = path.join(folder, 'menu.frame');
  try {
    execFileSync(menuFrameProgram, [pictureFolder, file]);
    // The framebuffer's pixels are 0xAARRGGBB little-endian.
    const frame = fs.readFileSync(file);
    const rgba = Buffer.alloc(frame.length);
    for (let i = 0; i < frame.length; i += 4) {
      rgba[i] = frame[i + 2];
      rgba[i + 1] = frame[i + 1];
      rgba[i + 2] = frame[i];
      rgba[i + 3] = 255;
    }
    return rgba;
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// Row `row` (counted from the top) of a 24-bit BMP file.
function bmpRow(file, row) {
  const bytes = fs.readFileSync(file);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  const stride = Math.ceil((width * 3) / 4) * 4;
  const start = bytes.readUInt32LE(10) + (height - 1 - row) * stride;
  const rgba = Buffer.alloc(width * 4);
  for (let x = 0; x < width; ++x) {
    rgba[4 * x] = bytes[start + 3 * x + 2];
    rgba[4 * x + 1] = bytes[start + 3 * x + 1];
    rgba[4 * x + 2] = bytes[start + 3 * x];
    rgba[4 * x + 3] = 255;
  }
  return rgba;
}

module.exports = { menuFrame, bmpRow };
