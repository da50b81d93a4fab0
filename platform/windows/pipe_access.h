#pragma once

#include "platform/windows/account_sids.h"

#include <string>

namespace quorel {

// Who is at the other end of a named pipe, as the system tells it.
struct PipePeer {
    std::string user = "(inconnu)"; // the account's name, or its SID as text when it has none
    bool allowed = false;
};

// Who may use the station's named pipe: SYSTEM, the Administrators, the members of the local
// group kOperatorsGroup (made when missing, if the station may) and the user the station runs
// as. The pipe's access list lets them alone open it, and each client is checked again.
class PipeAccess {
  public:
    PipeAccess();
    ~PipeAccess();
    PipeAccess(const PipeAccess&) = delete;
    PipeAccess& operator=(const PipeAccess&) = delete;

    // The security descriptor to make each instance of the pipe with; null when none could be
    // made.
    void* descriptor() const { return descriptor_; }
    // What could not be set up as it should (the group), in French; empty when all was.
    const std::string& caveat() const { return caveat_; }
    // The client at the other end of pipe, from which something was read: the system tells who
    // sent what was read.
    PipePeer identify(void* pipe) const;

  private:
    bool isAllowed(void* token, const Sid& user) const;

    Sid self_;
    Sid system_;
    Sid administrators_;
    Sid operators_; // empty when the group neither exists nor could be made
    void* descriptor_ = nullptr;
    std::string caveat_;
};

} // namespace quorel
