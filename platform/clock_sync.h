#pragma once

namespace quorel {

// What the system says of its clock's synchronisation to a time source.
struct ClockSync {
    enum class State { Synchronised, Unsynchronised, Unknown };
    State state = State::Unknown;
    double estimatedErrorSeconds = 0; // known while synchronised
    double maxErrorSeconds = 0;
    bool operator==(const ClockSync&) const = default;
};

// Reads the clock's synchronisation without privileges; asked once a minute.
class ClockSyncSource {
  public:
    virtual ~ClockSyncSource() = default;
    virtual ClockSync read() = 0;
};

} // namespace quorel
