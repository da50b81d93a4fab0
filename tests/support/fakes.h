#pragma once

#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/settings_store.h"
#include "platform/startup_entry.h"
#include "platform/timer.h"
#include "platform/view.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorel::test {

// Counts yields; a test can run a handler inside one (a click arriving during a relay command).
class FakeEventPump final : public EventPump {
  public:
    void yield() override {
        ++yields;
        if (onYield) {
            onYield(yields);
        }
    }
    int yields = 0;
    std::function<void(int yieldNumber)> onYield;
};

class FakeTimer final : public Timer {
  public:
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        changes.push_back(enabled);
    }
    bool isEnabled() const override { return enabled_; }
    std::vector<bool> changes;

  private:
    bool enabled_ = false;
};

class RecordingView final : public View {
  public:
    void redraw(ViewPart part) override { parts.push_back(part); }
    bool saw(ViewPart part) const;
    std::vector<ViewPart> parts;
};

// A view that draws nothing, for benchmarks.
class SilentView final : public View {
  public:
    void redraw(ViewPart) override {}
};

struct ShownMessage {
    std::string text;
    MessageIcon icon;
};

class FakeDialogs final : public Dialogs {
  public:
    void message(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
        if (onMessage) {
            onMessage(text);
        }
    }
    std::vector<ShownMessage> messages;
    std::function<void(const std::string&)> onMessage;
};

class MemorySettingsStore final : public SettingsStore {
  public:
    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override;
    bool write(const std::string& application, const std::string& section, const std::string& key,
               const std::string& value) override;
    // "application/section/key" -> value
    std::map<std::string, std::string> values;
    bool failWrites = false;
};

// Records the steps asked of it; each step's result can be set.
class FakeStartupEntry final : public StartupEntry {
  public:
    bool openForCreate() override { return step("openForCreate", openForCreateResult); }
    bool setCommand(const std::string& programPath) override;
    bool openExisting() override { return step("openExisting", openExistingResult); }
    bool deleteCommand() override;
    void close() override { steps.push_back("close"); }

    std::vector<std::string> steps;
    bool present = false;
    std::string command;
    bool openForCreateResult = true;
    bool setCommandResult = true;
    bool openExistingResult = true;

  private:
    bool step(const char* name, bool result) {
        steps.push_back(name);
        return result;
    }
};

} // namespace quorel::test
