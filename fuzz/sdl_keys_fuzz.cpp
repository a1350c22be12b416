// The SDL back end's keyboard on any scancodes, keycodes and modifier
// states (KeyPressCode, Set1FromSdl, the modifier flags) and any layout and
// key state (the key-state map). Every code produced must be one a key code
// can be.
#include <array>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"
#include "gfx/backend/sdl_keys.h"

namespace rt::fuzz {
namespace {

void CheckKeyPress(FuzzInput& input) {
  const int scancode = input.I32();
  const int keycode = input.I32();
  const int mods = input.I32();
  const int code = KeyPressCode(scancode, keycode, mods);
  FuzzCheck(code == -1 || IsKeyCode(code), "KeyPressCode posts something that is no key code");
  const Set1Key key = Set1FromSdl(scancode);
  FuzzCheck(key.scancode == -1 || (key.scancode >= 0 && key.scancode < 128),
            "a set-1 scancode outside 0..127");
  FuzzCheck((ModifierFlags(mods) & ~0x1F) == 0, "ModifierFlags set a flag it does not define");
  TextCounts(mods);
}

void CheckKeyStateMap(FuzzInput& input) {
  std::array<int, 8> layout{};
  for (int& scancode : layout) scancode = input.I32();
  std::size_t asked = 0;
  const KeyStateMap map([&](int) { return layout[asked++ % layout.size()]; });
  std::vector<std::uint8_t> sdlState(input.Byte() * 2);
  for (auto& held : sdlState) held = input.Byte() & 1;
  std::array<std::uint8_t, 128> keyState{};
  map.Refresh(sdlState.data(), int(sdlState.size()), keyState);
  for (auto held : keyState) FuzzCheck(held <= 1, "a key-state entry other than 0 or 1");
}

}  // namespace
}  // namespace rt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt::fuzz;
  FuzzInput input(data, size);
  CheckKeyPress(input);
  CheckKeyStateMap(input);
  return 0;
}
