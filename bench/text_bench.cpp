// How long the text a frame draws takes: a status line with DrawString, and
// a console line with Print.
#include <benchmark/benchmark.h>

#include <string>

#include "gfx/screen.h"
#include "gfx/text.h"

namespace {

// Flags -1 choose the back end without a window.
void OpenScreen(int depth) { rt::ScreenMode(18, depth, 2, -1, 0); }

void CloseScreen() { rt::ScreenClose(); }

void BM_DrawStringLine(benchmark::State& state) {
  OpenScreen(int(state.range(0)));
  const std::string line =
      "Punkte: 12345   Steine: 67   Leben: 3   Level: 4   Gr\x81\xE1"
      "e aus M\x81nchen!";
  for (auto _ : state) rt::DrawString(nullptr, 1, 17, 4 | rt::kColorNotGiven, line);
  state.SetItemsProcessed(state.iterations() * std::int64_t(line.size()));
  CloseScreen();
}
BENCHMARK(BM_DrawStringLine)->Arg(32)->Arg(16)->Arg(8);

void BM_PrintLine(benchmark::State& state) {
  OpenScreen(32);
  const std::string line(79, 'x');
  for (auto _ : state) {
    rt::Locate(10, 1);
    rt::Print(line);
  }
  state.SetItemsProcessed(state.iterations() * std::int64_t(line.size()));
  CloseScreen();
}
BENCHMARK(BM_PrintLine);

void BM_PrintScrolling(benchmark::State& state) {
  OpenScreen(32);
  rt::Locate(30, 1);
  for (auto _ : state) rt::Print("Zeile");
  CloseScreen();
}
BENCHMARK(BM_PrintScrolling);

}  // namespace
