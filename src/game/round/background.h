#pragma once

namespace game {

// Clears the screen and shows "background.bmp" on it, as Cls and then Bload
// onto the screen would. The picture is decoded once into an image and
// copied on later calls until the file changes, so a frame does not read and
// convert it again, nor fill the pixels that the copy overwrites. The caller
// holds the screen lock.
void ClearToBackground();

}  // namespace game
