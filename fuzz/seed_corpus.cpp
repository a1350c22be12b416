#include "seed_corpus.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "bmp_builder.h"
#include "fuzz_support.h"
#include "input/key_translate.h"
#include "rt/codepage.h"
#include "rt/file_channels.h"

namespace rt::fuzz {

namespace {

using test::BmpBuilder;
using namespace std::string_literals;

std::string Bytes(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::uint32_t Gradient(int x, int y) { return std::uint32_t(x * 37 + y * 11); }

BmpBuilder Plain(int bits, int width = 5, int height = 3) {
  BmpBuilder b;
  b.width = width;
  b.height = height;
  b.bits = bits;
  b.pixel = [bits](int x, int y) {
    return bits < 32 ? Gradient(x, y) & ((1u << bits) - 1) : Gradient(x, y) * 0x01010101u;
  };
  for (int i = 0; bits <= 8 && i < (1 << bits); ++i) b.palette.push_back(std::uint32_t(i) * 0x010203u);
  return b;
}

BmpBuilder WithHeader(BmpBuilder b, std::uint32_t infoSize) {
  b.infoSize = infoSize;
  return b;
}

BmpBuilder TopDown(BmpBuilder b) {
  b.height = -b.height;
  return b;
}

BmpBuilder BitFields(int bits, std::uint32_t infoSize, std::array<std::uint32_t, 4> masks) {
  BmpBuilder b = Plain(bits);
  b.infoSize = infoSize;
  b.compression = 3;
  b.masks = masks;
  return b;
}

BmpBuilder RunLength(int bits, std::vector<std::uint8_t> data) {
  BmpBuilder b = Plain(bits, 6, 4);
  b.compression = bits == 8 ? 1 : 2;
  b.pixelData = std::move(data);
  return b;
}

// One of every header, bit depth, row order and compression the loader takes.
std::vector<Seed> BmpForms() {
  std::vector<Seed> forms;
  const auto add = [&](std::string name, const BmpBuilder& b) {
    forms.push_back({std::move(name), Bytes(b.Build())});
  };
  for (int bits : {1, 2, 4, 8, 16, 24, 32}) add("plain" + std::to_string(bits), Plain(bits));
  for (int bits : {1, 4, 8, 24}) add("core" + std::to_string(bits), WithHeader(Plain(bits), 12));
  add("short16header", WithHeader(Plain(24), 16));
  add("os2header64", WithHeader(Plain(8), 64));
  add("topdown24", TopDown(Plain(24)));
  add("topdown8", TopDown(Plain(8)));
  add("bitfields565", BitFields(16, 40, {0xF800, 0x07E0, 0x001F, 0}));
  add("bitfields32short", BitFields(32, 40, {0xFF0000, 0xFF00, 0xFF, 0}));
  add("bitfields32v3alpha", BitFields(32, 56, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}));
  add("bitfields16v4", BitFields(16, 108, {0x0F00, 0x00F0, 0x000F, 0xF000}));
  add("bitfields32v5", BitFields(32, 124, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
  add("bitfields24", BitFields(24, 52, {0xFF0000, 0xFF00, 0xFF, 0}));
  add("bitfields12", BitFields(12, 40, {0xF00, 0x0F0, 0x00F, 0}));
  BmpBuilder noOffset = Plain(8);
  noOffset.dataOffset = 0;
  add("offset0", noOffset);
  add("rle8", RunLength(8, {3, 10, 0, 3, 20, 21, 22, 0, 0, 0, 0, 2, 2, 1, 2, 30, 0, 0, 6, 40, 0, 1}));
  add("rle4", RunLength(4, {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 2, 0x99, 0, 1}));
  add("wide", Plain(24, 700, 2));
  add("tall", Plain(8, 2, 500));
  return forms;
}

std::vector<Seed> BloadSeeds() {
  // Target bytes: screens at 32, 16, 8 and 2 bits, and images at 32, 16 and 8.
  std::vector<Seed> seeds;
  for (const Seed& form : BmpForms()) {
    for (char target : {0, 1, 2, 3, 6, 7, 8}) {
      seeds.push_back(
          {form.name + "-target" + std::to_string(int(target)), std::string(1, target) + form.bytes});
    }
  }
  return seeds;
}

struct RecordItem {
  bool isText;
  int number;
  std::string text;
};

// A record as the record writer puts it in a file.
std::string WrittenRecord(const std::vector<RecordItem>& items) {
  const std::string path = ScratchFile("seed-record.txt");
  FileOpen(path, FileModeOutput, 1);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const bool last = i + 1 == items.size();
    if (items[i].isText) {
      FileWriteString(1, items[i].text, last);
    } else {
      FileWriteInt(1, items[i].number, last);
    }
  }
  FileClose(1);
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string TextItemBits(const std::vector<RecordItem>& items) {
  std::uint16_t bits = 0;
  for (std::size_t i = 0; i < items.size() && i < 16; ++i)
    bits |= std::uint16_t(items[i].isText ? 1u << i : 0u);
  return {char(bits & 0xFF), char(bits >> 8)};
}

std::vector<Seed> ItemReaderSeeds() {
  // A parked game, no parked game, a highscore, and a typed name.
  const std::vector<std::pair<std::string, std::vector<RecordItem>>> records = {
      {"save",
       {{false, 288, ""},
        {false, 412, ""},
        {false, 96, ""},
        {false, 2, ""},
        {false, 1530, ""},
        {false, 4, ""},
        {false, 41, ""},
        {false, 3, ""}}},
      {"save-empty", {{false, 0, ""}}},
      {"highscore",
       {{false, 1530, ""}, {true, 0, "05-12-2026"}, {false, 41, ""}, {true, 0, Cp437("Jürgen Groß")}}},
      {"extremes",
       {{false, -2147483647 - 1, ""}, {true, 0, ""}, {false, 2147483647, ""}, {true, 0, " a,b "}}},
  };
  std::vector<Seed> seeds;
  for (const auto& [name, items] : records) {
    seeds.push_back({name, std::string(1, '\0') + TextItemBits(items) + WrittenRecord(items)});
  }
  seeds.push_back({"typed-name", "\0\xFF\xFF"s + Cp437("Max Müller")});
  seeds.push_back({"numbers", "\0\0\0"s + " 12 , 3.5,&H1F,12abc,-7,1D3,2.5e1\r\n4\r5\n"});
  // Items 7, "abc", -7 and a text with a quote, which the writer drops.
  seeds.push_back(
      {"roundtrip", "\1\x0A\0"s + "\x07\0\0\0"s + "\x03\0abc"s + "\xF9\xFF\xFF\xFF"s + "\x02\0\"x"s});
  return seeds;
}

std::string SaveRecord(std::vector<int> fields) {
  std::vector<RecordItem> items;
  for (int f : fields) items.push_back({false, f, ""});
  return WrittenRecord(items);
}

constexpr int kMax = 2147483647, kMin = -kMax - 1;

std::vector<Seed> RoundSeeds() {
  // Flags, the save file's length and bytes (objectY, catcherX, points,
  // level, stones, objectKind, lives, objectX), then a byte per frame.
  const auto seed = [](std::string name, char flags, const std::string& save, std::string script) {
    const std::string length = {char(save.size() & 0xFF), char(save.size() >> 8)};
    return Seed{std::move(name), std::string(1, flags) + length + save + script};
  };
  const std::string left(40, '\x01'), right(40, '\x02'), down(40, '\x04');
  return {
      seed("nothing-parked", 1, SaveRecord({0}), ""),
      seed("white-stone", 1, SaveRecord({120, 300, 40, 2, 12, 1, 3, 250}), left + right),
      seed("saucer-level5", 1, SaveRecord({60, 10, 2100, 5, 80, 22, 2, 400}), right + down),
      seed("heart-one-life", 0, SaveRecord({380, 200, 700, 3, 30, 3, 1, 205}), "\x08\x00\x00"s + left),
      seed("money-near-floor", 1, SaveRecord({395, 500, 1500, 4, 50, 15, 4, 510}), "\x40\x80\x10\x10\x01"s),
      seed("after-game-over", 1, SaveRecord({200, 3, 90, 1, 4, 2, 0, 8}), ""),
      seed("close-button", 1, SaveRecord({20, 100, 0, 1, 0, 1, 3, 100}), "\x00\x20"s),
      seed("leave-with-esc", 1, SaveRecord({20, 100, 0, 1, 0, 1, 3, 100}), "\x00\x30"s),
      seed("screenshot", 1, SaveRecord({20, 100, 0, 1, 0, 1, 3, 100}), "\x10"s),
      seed("damaged-maxima", 1, SaveRecord({kMax, kMax, kMax, kMax, kMax, 2, kMax, kMax}), left + right),
      seed("damaged-minima", 0, SaveRecord({kMin, kMin, kMin, kMin, kMin, 22, kMin, kMin}), left + down),
      seed("damaged-mixed", 1, SaveRecord({-5, kMax - 2, kMax, 9, kMax, 22, 1, kMin}), right),
  };
}

std::vector<Seed> LineInputSeeds() {
  // Screen, row, column, prompt length and prompt, then the keys.
  const auto seed = [](std::string name, char screen, char row, char column, const std::string& prompt,
                       std::string keys) {
    return Seed{std::move(name), std::string{screen, row, column, char(prompt.size())} + prompt + keys};
  };
  const std::string prompt = "Dein Name bitte: ";
  return {
      seed("name", 0, 5, 1, prompt, Cp437("Jürgen") + "\r"),
      seed("edits", 0, 5, 1, prompt,
           "Max\xF2\xF2\x08M\xF0\xF6\xF4\tX\x1B"
           "Eva\r"s),
      seed("wraps-and-scrolls", 1, 24, 30, prompt, std::string(120, 'a') + "\xF1\xF1\xF5\xF6\r"s),
      seed("close-and-unknown-keys", 2, 1, 1, "",
           "a\xF7\xF8\x3B\xF8\x01"
           "b\r"s),
  };
}

std::string Int32(int v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = char(std::uint32_t(v) >> (8 * i));
  return s;
}

std::vector<Seed> TranslateKeySeeds() {
  // TranslateKey's character, scancode, key character and modifiers; then typed text.
  const auto seed = [](std::string name, std::vector<int> values, std::string_view text) {
    std::string bytes;
    for (int v : values) bytes += Int32(v);
    bytes += text;
    return Seed{std::move(name), std::move(bytes)};
  };
  return {
      seed("left-arrow", {0, 75, 0, kModExtended}, ""), seed("shift-f1", {0, 59, 0, kModShift}, ""),
      seed("letter-a", {'a', 30, 'a', 0}, "a"),         seed("ctrl-c", {3, 46, 'c', kModLeftCtrl}, ""),
      seed("alt-x", {0, 45, 'x', kModLeftAlt}, ""),     seed("umlauts", {0, 0, 0, 0}, "Grüße äöü €"),
  };
}

std::vector<Seed> SdlKeysSeeds() {
  // An SDL scancode, keycode and modifier state; then the SDL scancodes the
  // layout answers for the letters (eight, used in turn), and the held keys:
  // a count of pairs of SDL scancodes, then one byte each.
  const auto seed = [](std::string name, std::vector<int> press, std::vector<int> held) {
    std::string bytes;
    for (int v : press) bytes += Int32(v);
    for (int letter = 0; letter < 8; ++letter) bytes += Int32(4 + letter);
    std::string state(256, '\0');
    for (int sdlScancode : held) state[std::size_t(sdlScancode)] = 1;
    bytes += char(state.size() / 2);
    bytes += state;
    return Seed{std::move(name), std::move(bytes)};
  };
  return {
      seed("left-arrow", {80, 1073741904, 0}, {80}),
      seed("shift-f1", {58, 1073741882, 1}, {58, 225}),
      seed("letter-a", {4, 'a', 0}, {4}),
      seed("ctrl-c", {6, 'c', 0x40}, {6, 224}),
      seed("alt-x", {27, 'x', 0x100}, {27, 226}),
  };
}

std::vector<Seed> HighscoreSeeds() {
  // Flags (bit 0: a game ends first), its points and stones, the file's
  // length and bytes, then the steps: typed bytes, 0xF0 Space, 0xF1 Esc,
  // 0xF2 Delete held, 0xF3 all keys let go.
  const auto seed = [](std::string name, char flags, int points, int stones, const std::string& file,
                       std::string steps) {
    const std::string length = {char(file.size() & 0xFF), char(file.size() >> 8)};
    return Seed{std::move(name),
                std::string(1, flags) + Int32(points) + Int32(stones) + length + file + steps};
  };
  const std::string record = WrittenRecord(
      {{false, 1530, ""}, {true, 0, "05-12-2026"}, {false, 41, ""}, {true, 0, Cp437("Jürgen")}});
  const std::string deleted =
      WrittenRecord({{false, 0, ""}, {true, 0, "05-12-2026"}, {false, 0, ""}, {true, 0, "-"}});
  return {
      seed("new-record", 1, 2000, 50, record, "Max\r\xF0"s),
      seed("no-record-more-stones", 1, 100, 60, record, "\xF0"s),
      seed("first-game-no-file", 1, 90, 3, "", "  Eva, Maria\r\xF1"s),
      seed("view-then-delete", 0, 0, 0, record, "\xF2"s),
      seed("view-after-delete", 0, 0, 0, deleted, "\xF3\xF3\xF0"s),
      seed("damaged", 1, 5, 5, "12,\"a\"b\",x\"y,\r\n,,,\"", "\"Q\"uote\r\xF1"s),
  };
}

}  // namespace

std::vector<Seed> SeedsFor(std::string_view fuzzer) {
  if (fuzzer == "bload") return BloadSeeds();
  if (fuzzer == "item_reader") return ItemReaderSeeds();
  if (fuzzer == "translate_key") return TranslateKeySeeds();
  if (fuzzer == "sdl_keys") return SdlKeysSeeds();
  if (fuzzer == "round") return RoundSeeds();
  if (fuzzer == "bitmap_asset") return BmpForms();
  if (fuzzer == "line_input") return LineInputSeeds();
  if (fuzzer == "highscore") return HighscoreSeeds();
  return {};
}

}  // namespace rt::fuzz
