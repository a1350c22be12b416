#pragma once

#include <filesystem>
#include <functional>

namespace rt::test {

// Runs `body` in a child process that file permissions bind as they bind a
// player: when the tests run as root, who may write anywhere, the folder and
// everything in it first go to the unprivileged user "nobody", who then runs
// the body. Gives the body's result, or -1 when the child did not exit.
int RunBoundByPermissions(const std::filesystem::path& folder, const std::function<int()>& body);

}  // namespace rt::test
