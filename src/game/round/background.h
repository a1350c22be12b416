#pragma once

namespace game {

// Loads "background.bmp" onto the screen, as Bload does. The decoded screen
// is kept and copied back on later calls while the file and the screen stay
// the same, so a frame does not read and convert the picture again. The
// caller has just cleared the screen and holds the screen lock.
void DrawBackground();

}  // namespace game
