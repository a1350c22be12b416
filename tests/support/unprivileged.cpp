#include "support/unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rt::test {

int RunBoundByPermissions(const std::filesystem::path& folder, const std::function<int()>& body) {
  constexpr uid_t kNobody = 65534;
  const bool root = geteuid() == 0;
  if (root) {
    if (chown(folder.c_str(), kNobody, kNobody) != 0) return -1;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (lchown(entry.path().c_str(), kNobody, kNobody) != 0) return -1;
    }
  }
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (root && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(125);
    _exit(body());
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace rt::test
