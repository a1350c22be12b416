#include "gfx/backend/null_driver.h"

#include "rt/result.h"

namespace rt {

int NullDriver::GetMouse(int* x, int* y, int* wheel, int* buttons, int* clipped) {
  for (int* out : {x, y, wheel, buttons, clipped}) {
    if (out) *out = -1;
  }
  return ResultIllegalCall;
}

}  // namespace rt
