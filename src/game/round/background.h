#pragma once

namespace game {

// Shows "background.bmp" on the screen as Bload onto the screen would. The
// picture is decoded once into an image and copied with Put on later calls
// until the file changes, so a frame does not read and convert it again. The
// caller has just cleared the screen and holds the screen lock.
void DrawBackground();

}  // namespace game
