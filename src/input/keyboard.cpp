#include "input/keyboard.h"

#include "gfx/screen_state.h"
#include "input/key_queue.h"
#include "rt/codepage.h"

namespace rt {

void KeyQueue::Post(int code) {
  slots_[write_] = code;
  write_ = (write_ + 1) % int(slots_.size());
  if (write_ == read_) read_ = (read_ + 1) % int(slots_.size());
  posted_ = true;
}

int KeyQueue::Take() {
  posted_ = false;
  if (read_ == write_) return 0;
  int code = slots_[read_];
  read_ = (read_ + 1) % int(slots_.size());
  return code;
}

bool KeyQueue::TakePosted() {
  bool was = posted_;
  posted_ = false;
  return was;
}

void KeyQueue::Clear() { *this = KeyQueue{}; }

KeyQueue& TheKeyQueue() {
  static KeyQueue queue;
  return queue;
}

int Multikey(int scancode) {
  ScreenState* s = Screen();
  if (!s || static_cast<unsigned>(scancode) > 127u) return 0;
  ScreenLock();
  const bool held = s->keyState[scancode] != 0;
  ScreenUnlock(1, 0);
  return held ? -1 : 0;
}

std::string KeyCodeString(int code) {
  if (code <= 0) return {};
  if (code <= 255) return std::string(1, static_cast<char>(code));
  return {static_cast<char>(0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

std::string Inkey() {
  if (!Screen()) return {};
  ScreenLock();
  const int code = TheKeyQueue().Take();
  ScreenUnlock(1, 0);
  return KeyCodeString(code);
}

bool KeyHit() {
  if (!Screen()) return false;
  ScreenLock();
  const bool hit = TheKeyQueue().HasKey();
  ScreenUnlock(1, 0);
  return hit;
}

bool TakeKeyPosted() {
  if (!Screen()) return false;
  ScreenLock();
  const bool posted = TheKeyQueue().TakePosted();
  ScreenUnlock(1, 0);
  return posted;
}

void PostKey(int code) { TheKeyQueue().Post(code); }

void PostTypedText(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) PostKey(UnicodeToCp437(DecodeUtf8(utf8, pos)));
}

}  // namespace rt
