#pragma once

#include <string>

namespace quorel {

// Where the program tells what it did, one sentence per event, as it happens, so that a bell
// said to be missing can be traced afterwards.
class Journal {
  public:
    virtual ~Journal() = default;
    virtual void note(const std::string& sentence) = 0;
};

} // namespace quorel
