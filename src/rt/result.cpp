#include "rt/result.h"

namespace rt {

namespace {
thread_local Result lastResult = ResultOk;
}

Result LastResult() { return lastResult; }

Result SetLastResult(Result result) {
  lastResult = result;
  return result;
}

}  // namespace rt
