#pragma once

namespace quorel {

// Lets pending window events run once. Handlers call it at fixed points (after a relay byte, at
// the end of a tick), and other handlers, a further tick included, may run inside it.
class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void yield() = 0;
};

} // namespace quorel
