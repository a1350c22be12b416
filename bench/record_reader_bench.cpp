#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "rt/file_channels.h"

namespace {

// A highscore-like file: many records of number, date, number, name.
std::string WriteRecordFile(int records) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("morvanta-bench-" + std::to_string(getpid()))).string();
  rt::FileOpen(path, rt::FileModeOutput, 1);
  for (int i = 0; i < records; ++i) {
    rt::FileWriteInt(1, i * 37, false);
    rt::FileWriteString(1, "12-05-2026", false);
    rt::FileWriteInt(1, -i, false);
    rt::FileWriteString(1, "Max Muster", true);
  }
  rt::FileClose(1);
  return path;
}

void ReadRecords(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const std::string path = WriteRecordFile(records);
  std::string text;
  int number = 0;
  for (auto _ : state) {
    rt::FileOpen(path, rt::FileModeInput, 1);
    rt::FileInputBegin(1);
    for (int i = 0; i < records; ++i) {
      rt::FileInputInt(number);
      rt::FileInputString(text);
      rt::FileInputInt(number);
      rt::FileInputString(text);
    }
    benchmark::DoNotOptimize(number);
    rt::FileClose(1);
  }
  state.SetItemsProcessed(state.iterations() * records * 4);
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(ReadRecords)->Arg(1)->Arg(10000);

}  // namespace
