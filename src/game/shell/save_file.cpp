#include "game/shell/save_file.h"

#include <array>

#include "rt/file_channels.h"

namespace game {
namespace {

constexpr int kSaveFileNumber = 1;

// The saved fields in file order.
constexpr std::array<int GameState::*, 8> kSavedFields{
    &GameState::objectY, &GameState::catcherX,   &GameState::points, &GameState::level,
    &GameState::stones,  &GameState::objectKind, &GameState::lives,  &GameState::objectX};

}  // namespace

bool WriteSaveFile(std::string_view path, const GameState& state) {
  if (rt::FileOpen(path, rt::FileModeOutput, kSaveFileNumber) != rt::ResultOk) return false;
  bool written = true;
  for (std::size_t i = 0; i < kSavedFields.size(); ++i) {
    const bool last = i + 1 == kSavedFields.size();
    written &= rt::FileWriteInt(kSaveFileNumber, state.*kSavedFields[i], last) == rt::ResultOk;
  }
  // Closing puts the new file in place; only then is the game saved.
  return rt::FileClose(kSaveFileNumber) == rt::ResultOk && written;
}

void ReadSaveFile(std::string_view path, GameState& state) {
  rt::FileOpen(path, rt::FileModeInput, kSaveFileNumber);
  rt::FileInputBegin(kSaveFileNumber);
  for (int GameState::*field : kSavedFields) {
    int value = 0;
    rt::FileInputInt(value);
    state.*field = value;
  }
  rt::FileClose(kSaveFileNumber);
}

void ClearSavedFields(GameState& state) {
  for (int GameState::*field : kSavedFields) state.*field = 0;
}

bool ClearSaveFile(std::string_view path) {
  if (rt::FileOpen(path, rt::FileModeOutput, kSaveFileNumber) != rt::ResultOk) return false;
  const bool written = rt::FileWriteInt(kSaveFileNumber, 0, true) == rt::ResultOk;
  return rt::FileClose(kSaveFileNumber) == rt::ResultOk && written;
}

}  // namespace game
