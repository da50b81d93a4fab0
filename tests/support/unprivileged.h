#pragma once

#include <functional>
#include <string>

namespace quorel::test {

// Runs check in a child process as the unprivileged user "nobody" when the tests run as root (a
// root process can read and write files whatever their permissions), or in this process
// otherwise. Returns what check returned; the check must not use gtest assertions.
bool runUnprivileged(const std::function<bool()>& check);

// Makes a folder and everything above it reachable by "nobody", for files a check must see.
void openPathToEveryone(const std::string& folder);

} // namespace quorel::test
