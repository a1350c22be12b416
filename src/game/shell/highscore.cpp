#include "game/shell/highscore.h"

#include "game/shell/shell_texts.h"
#include "rt/file_channels.h"
#include "rt/strings.h"

namespace game {
namespace {

constexpr int kHighscoreFileNumber = 2;

std::string Line(const std::string& prefix, const HighscoreRecord& r) {
  return prefix + rt::StrFromInt(r.bestPoints) + shell_text::kRecordName + r.bestName +
         shell_text::kRecordDate + r.bestDate + shell_text::kRecordStones + rt::StrFromInt(r.bestStones);
}

}  // namespace

HighscoreRecord ReadHighscore(std::string_view path) {
  HighscoreRecord record;
  rt::FileOpen(path, rt::FileModeInput, kHighscoreFileNumber);
  rt::FileInputBegin(kHighscoreFileNumber);
  rt::FileInputInt(record.bestPoints);
  rt::FileInputString(record.bestDate);
  rt::FileInputInt(record.bestStones);
  rt::FileInputString(record.bestName);
  rt::FileClose(kHighscoreFileNumber);
  return record;
}

bool WriteHighscore(std::string_view path, const HighscoreRecord& record) {
  if (rt::FileOpen(path, rt::FileModeOutput, kHighscoreFileNumber) != rt::ResultOk) return false;
  const bool written = rt::FileWriteInt(kHighscoreFileNumber, record.bestPoints, false) == rt::ResultOk &&
                       rt::FileWriteString(kHighscoreFileNumber, record.bestDate, false) == rt::ResultOk &&
                       rt::FileWriteInt(kHighscoreFileNumber, record.bestStones, false) == rt::ResultOk &&
                       rt::FileWriteString(kHighscoreFileNumber, record.bestName, true) == rt::ResultOk;
  // Closing puts the new file in place; only then is the record kept.
  return rt::FileClose(kHighscoreFileNumber) == rt::ResultOk && written;
}

std::string RecordLine(const HighscoreRecord& record) { return Line(shell_text::kRecordPrefix, record); }

std::string NewRecordLine(const HighscoreRecord& record) {
  return Line(shell_text::kNewRecordPrefix, record);
}

}  // namespace game
