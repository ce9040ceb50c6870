#pragma once
// Runs a piece of a test with an ordinary user's rights, as a player has them.
#include <functional>

namespace testing_support {

// Runs `body` in a child process and returns its exit code (-1 when it did not exit). Root
// ignores file permissions, so as root (CI) the child first becomes "nobody"; 100 means it could
// not.
int runUnprivileged(const std::function<int()>& body);

} // namespace testing_support
