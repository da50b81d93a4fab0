#pragma once

#include <functional>

namespace quorel::test {

// Creates the QCoreApplication the Qt platform classes need, once per test process.
void ensureCoreApplication();

// Runs the Qt event loop for the given milliseconds (idle in between, no spinning).
void runEventsFor(int milliseconds);

// Runs the Qt event loop until done() holds or timeoutMilliseconds pass; returns done().
bool runEventsUntil(const std::function<bool()>& done, int timeoutMilliseconds);

} // namespace quorel::test
