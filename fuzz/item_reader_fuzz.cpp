// The item reader on arbitrary bytes. The first byte picks the check:
//  - even: the bytes are a file read item by item through a channel, and the
//    same bytes read through SetInputText must give the same items (unless
//    the channel's put-back store overflowed, the one way the two differ);
//  - odd: the bytes are turned into a record, written with the record writer
//    and read back, which must give every item as written.
// The next two bytes say which items are integers and which texts.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rt/file_channels.h"

namespace rt::fuzz {
namespace {

constexpr int kItems = 16;
constexpr std::size_t kMaxText = 4096;

struct Item {
  bool isText = false;
  int number = 0;
  std::string text;
  bool operator==(const Item&) const = default;
};

// Reads kItems items from the current input source; false when any read
// reported a put-back overflow.
bool ReadItems(std::uint16_t textItems, std::vector<Item>& items) {
  bool putBackHeld = true;
  for (int i = 0; i < kItems; ++i) {
    Item item;
    item.isText = (textItems >> i) & 1;
    const Result r = item.isText ? FileInputString(item.text) : FileInputInt(item.number);
    FuzzCheck(r == ResultOk || r == ResultFileIoError, "an item read answered an unexpected result");
    FuzzCheck(item.text.size() <= kMaxText, "a text item is longer than the reader's limit");
    putBackHeld = putBackHeld && r == ResultOk;
    items.push_back(std::move(item));
  }
  return putBackHeld;
}

void FileAndTextReadAlike(std::uint16_t textItems, std::string_view bytes) {
  static const std::string path = ScratchFile("items.txt");
  WriteScratchFile(path, bytes);
  FuzzCheck(FileOpen(path, FileModeInput, 1) == ResultOk, "an existing file did not open");
  FuzzCheck(FileInputBegin(1) == ResultOk, "FileInputBegin failed on an open channel");
  std::vector<Item> fromFile;
  const bool comparable = ReadItems(textItems, fromFile);
  FuzzCheck(FileClose(1) == ResultOk, "closing an input channel failed");

  SetInputText(std::string(bytes));
  std::vector<Item> fromText;
  FuzzCheck(ReadItems(textItems, fromText), "an in-memory source cannot run out of put-back room");
  if (comparable) FuzzCheck(fromFile == fromText, "a file and the same text read as different items");
}

// What the writer can round-trip: texts without quotes or line ends and
// shorter than the reader's limit.
std::string WritableText(std::string_view bytes) {
  std::string text;
  for (char c : bytes.substr(0, kMaxText - 1)) {
    if (c != '"' && c != '\r' && c != '\n') text.push_back(c);
  }
  return text;
}

void RecordsRoundTrip(std::uint16_t textItems, FuzzInput& input) {
  std::vector<Item> written;
  for (int i = 0; i < kItems && !input.Empty(); ++i) {
    Item item;
    item.isText = (textItems >> i) & 1;
    if (item.isText) {
      item.text = WritableText(input.Take(input.U16() % 8192));
    } else {
      item.number = input.I32();
    }
    written.push_back(std::move(item));
  }
  if (written.empty()) return;
  static const std::string path = ScratchFile("record.txt");
  FuzzCheck(FileOpen(path, FileModeOutput, 2) == ResultOk, "the record file did not open for output");
  for (std::size_t i = 0; i < written.size(); ++i) {
    const bool last = i + 1 == written.size();
    const Item& item = written[i];
    const Result r = item.isText ? FileWriteString(2, item.text, last) : FileWriteInt(2, item.number, last);
    FuzzCheck(r == ResultOk, "writing an item failed");
  }
  FuzzCheck(FileClose(2) == ResultOk, "committing the record failed");

  FuzzCheck(FileOpen(path, FileModeInput, 2) == ResultOk, "the written record did not open");
  FileInputBegin(2);
  std::vector<Item> read;
  for (const Item& w : written) {
    Item item;
    item.isText = w.isText;
    FuzzCheck((w.isText ? FileInputString(item.text) : FileInputInt(item.number)) == ResultOk,
              "reading failed");
    read.push_back(std::move(item));
  }
  FileClose(2);
  FuzzCheck(read == written, "a record did not read back as written");
}

}  // namespace
}  // namespace rt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rt::fuzz;
  FuzzInput input(data, size);
  const bool roundTrip = input.Byte() & 1;
  const std::uint16_t textItems = input.U16();
  if (roundTrip) {
    RecordsRoundTrip(textItems, input);
  } else {
    FileAndTextReadAlike(textItems, input.Rest());
  }
  FuzzCheck(rt::FreeFileNumber() == 1, "a file number stayed in use");
  return 0;
}
