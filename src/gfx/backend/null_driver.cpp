#include <memory>
#include <mutex>

#include "gfx/display_driver.h"
#include "rt/result.h"

namespace rt {

namespace {

// The back end without a window: it accepts every operation and presents
// nothing. The mouse is never over a window, so queries fail as they do
// while the pointer is outside one.
class NullDriver final : public DisplayDriver {
 public:
  std::string_view Name() const override { return "null"; }
  int Init(ScreenState&, const char*, int, int, int, int, int) override { return 0; }
  void Exit() override {}
  void Lock() override { mutex_.lock(); }
  void Unlock() override { mutex_.unlock(); }
  void SetPalette(int, int, int, int) override {}
  Result GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) override {
    for (int* out : {x, y, wheel, buttons, clipped}) {
      if (out) *out = -1;
    }
    return ResultIllegalCall;
  }
  Result SetMouse(int, int, int, int) override { return ResultOk; }
  void SetWindowTitle(const char*) override {}

 private:
  std::mutex mutex_;
};

std::unique_ptr<DisplayDriver> CreateNull() { return std::make_unique<NullDriver>(); }

}  // namespace

const DriverEntry& NullDriverEntry() {
  static const DriverEntry entry{"null", &CreateNull};
  return entry;
}

}  // namespace rt
