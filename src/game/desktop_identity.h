#pragma once

#include <string_view>

namespace game {

// The one id, in reverse-DNS form, under which desktops know the game: the
// name of its desktop entry and of its icon, and the class of its window.
std::string_view ApplicationId();

// Gives the runtime the id and the icon for the window; call before the
// screen opens.
void IntroduceToDesktop();

}  // namespace game
