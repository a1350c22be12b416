// Key translation over all inputs: TranslateKey on any four values and
// PostTypedText on any bytes. Every code produced must be one a key code can be.
#include <cstdint>

#include "fuzz_support.h"
#include "input/key_queue.h"
#include "input/key_translate.h"

namespace rt::fuzz {
namespace {

void CheckTranslateKey(FuzzInput& input) {
  const int character = input.I32();
  const int scanByte = input.I32();
  const int keyCharacter = input.I32();
  const int modifiers = input.I32();
  const int code = TranslateKey(character, scanByte, keyCharacter, modifiers);
  FuzzCheck(code == -1 || code == character || IsKeyCode(code), "TranslateKey made up a code");
}

void CheckTypedText(FuzzInput& input) {
  KeyQueue& queue = TheKeyQueue();
  queue.Clear();
  PostTypedText(input.Rest());
  while (queue.HasKey()) FuzzCheck(queue.Take() <= 255, "typed text posted an extended code");
}

}  // namespace
}  // namespace rt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt::fuzz;
  FuzzInput input(data, size);
  CheckTranslateKey(input);
  CheckTypedText(input);
  return 0;
}
