#pragma once

namespace quorel::test {

// How many file descriptors the test process holds open, to prove that no call leaves one open.
int openFileCount();

} // namespace quorel::test
