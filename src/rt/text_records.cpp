#include "rt/text_records.h"

#include <cstdint>
#include <string>

#include "rt/channel.h"
#include "rt/file_channels.h"
#include "rt/item_number.h"
#include "rt/out_of_memory.h"

namespace rt {

namespace {

constexpr int kEnd = -1;

// Where this thread's items come from: a text in memory, or a channel as long
// as the very opening it was begun on is still open.
class InputSource {
 public:
  void UseText(std::string text) {
    text_ = std::move(text);
    position_ = 0;
    fileNumber_ = 0;
  }
  void UseChannel(int fileNumber, std::uint64_t serial) {
    UseText({});
    fileNumber_ = fileNumber;
    serial_ = serial;
  }

  int Next() {
    if (fileNumber_ != 0) {
      Channel* channel = OpenChannel();
      return channel ? channel->ReadByte() : kEnd;
    }
    if (position_ >= text_.size()) return kEnd;
    return static_cast<unsigned char>(text_[position_++]);
  }

  bool PutBack(int byte) {
    if (byte == kEnd) return true;
    if (fileNumber_ == 0) {
      --position_;  // only ever the byte just read
      return true;
    }
    Channel* channel = OpenChannel();
    return !channel || channel->PutBack(static_cast<unsigned char>(byte));
  }

 private:
  Channel* OpenChannel() {
    Channel* channel = ChannelOn(fileNumber_);
    return channel && channel->Serial() == serial_ ? channel : nullptr;
  }

  std::string text_;
  std::size_t position_ = 0;
  int fileNumber_ = 0;  // 0: the text
  std::uint64_t serial_ = 0;
};

thread_local InputSource inputSource;

bool IsBlank(int c) { return c == ' ' || c == '\t'; }

class ItemReader {
 public:
  ItemReader(std::size_t maxChars, bool textWanted)
      : maxChars_(maxChars > 0 ? maxChars : 1), textWanted_(textWanted) {}

  InputItem Read() {
    int c = Next();
    while (IsBlank(c)) c = Next();
    Collect(c);
    return std::move(item_);
  }

 private:
  int Next() { return inputSource.Next(); }
  void PutBack(int c) {
    if (!inputSource.PutBack(c)) item_.putBackFailed = true;
  }

  void Collect(int c) {
    bool inQuotes = false;
    bool sawAmpersand = false;
    for (;;) {
      switch (c) {
        case kEnd: return;
        case '\n': return;
        case '\r': return EndLineAfterCr();
        case '"':
          if (!inQuotes && item_.text.empty()) {
            inQuotes = true;
            c = Next();
            continue;
          }
          if (inQuotes) {
            inQuotes = false;
            c = Next();
            if (textWanted_) return FinishAt(c);
            continue;
          }
          break;  // a quote after other characters is an ordinary one
        case ',':
          if (!inQuotes) return;
          break;
        case ' ':
        case '\t':
          if (!inQuotes && !textWanted_) return FinishAt(c);
          break;
        case '&': sawAmpersand = true; break;
        case 'D':
        case 'd':
          // A D exponent, as in 1D3, reads as E.
          if (!textWanted_ && !sawAmpersand) c = c == 'D' ? 'E' : 'e';
          [[fallthrough]];
        case '.':
        case 'E':
        case 'e':
          if (!sawAmpersand) item_.floatingPoint = true;
          break;
        default: break;
      }
      item_.text.push_back(static_cast<char>(c));
      c = Next();
      if (item_.text.size() >= maxChars_ || c == kEnd) return FinishAt(c);
    }
  }

  // The item ended without its separator: skip blanks, then take a comma or
  // a line end, or leave the character as the start of the next item.
  void FinishAt(int c) {
    while (IsBlank(c)) c = Next();
    if (c == ',' || c == '\n' || c == kEnd) return;
    if (c == '\r') return EndLineAfterCr();
    PutBack(c);
  }

  void EndLineAfterCr() {
    const int c = Next();
    if (c != '\n') PutBack(c);
  }

  const std::size_t maxChars_;
  const bool textWanted_;
  InputItem item_;
};

Result WriteItem(int fileNumber, std::string item, bool lastItem) {
  Channel* channel = ChannelOn(fileNumber);
  if (!channel || !channel->CanWrite()) return SetLastResult(ResultIllegalCall);
  item += lastItem ? "\r\n" : ",";
  return SetLastResult(channel->Write(item) ? ResultOk : ResultFileIoError);
}

}  // namespace

InputItem ReadInputItem(std::size_t maxChars, bool textWanted) {
  return ItemReader(maxChars, textWanted).Read();
}

// An item that cannot be built for memory is not written at all.
Result FileWriteInt(int fileNumber, int value, bool lastItem) {
  return OutOfMemoryAsResult([&] { return WriteItem(fileNumber, std::to_string(value), lastItem); });
}

Result FileWriteString(int fileNumber, std::string_view text, bool lastItem) {
  return OutOfMemoryAsResult([&] {
    std::string item;
    item.reserve(text.size() + 4);
    item.append(1, '"').append(text).append(1, '"');
    return WriteItem(fileNumber, std::move(item), lastItem);
  });
}

Result FileInputBegin(int fileNumber) {
  Channel* channel = ChannelOn(fileNumber);
  if (!channel) {
    inputSource.UseText({});
    return SetLastResult(ResultIllegalCall);
  }
  inputSource.UseChannel(fileNumber, channel->Serial());
  return SetLastResult(ResultOk);
}

// An item that memory cannot hold is lost; the value stays as it was.
Result FileInputInt(int& value) {
  return OutOfMemoryAsResult([&] {
    const InputItem item = ReadInputItem(kMaxNumberItem, false);
    value = ItemToInt(item.text, item.floatingPoint);
    return SetLastResult(item.putBackFailed ? ResultFileIoError : ResultOk);
  });
}

Result FileInputString(std::string& value) {
  return OutOfMemoryAsResult([&] {
    InputItem item = ReadInputItem(kMaxTextItem, true);
    value = std::move(item.text);
    return SetLastResult(item.putBackFailed ? ResultFileIoError : ResultOk);
  });
}

void SetInputText(std::string text) { inputSource.UseText(std::move(text)); }

}  // namespace rt
