#pragma once

#include "core/journal.h"
#include "core/view.h"
#include "platform/clock_sync.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/file_layer.h"
#include "platform/serial_ports.h"
#include "platform/settings_store.h"
#include "platform/startup_entry.h"
#include "platform/timer.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorel::test {

// Counts yields; a test can run a handler inside one (a click arriving during a relay command).
struct FakeEventPump final : EventPump {
    void yield() override { onYield ? onYield(++yields) : void(++yields); }
    int yields = 0;
    std::function<void(int yieldNumber)> onYield;
};

struct FakeTimer final : Timer {
    void setEnabled(bool enabled) override { changes.push_back(enabled_ = enabled); }
    bool isEnabled() const override { return enabled_; }
    std::vector<bool> changes;

  private:
    bool enabled_ = false;
};

struct RecordingView final : View {
    void redraw(ViewPart part) override { parts.push_back(part); }
    bool saw(ViewPart part) const { return std::count(parts.begin(), parts.end(), part) > 0; }
    std::vector<ViewPart> parts;
};

// A view that draws nothing, for benchmarks.
struct SilentView final : View {
    void redraw(ViewPart) override {}
};

struct RecordingJournal final : Journal {
    void note(const std::string& sentence) override { sentences.push_back(sentence); }
    std::vector<std::string> sentences;
};

struct ShownMessage {
    std::string text;
    MessageIcon icon;
};

struct FakeDialogs final : Dialogs {
    void message(const std::string& text, MessageIcon icon) override {
        messages.push_back({text, icon});
        onMessage ? onMessage(text) : void();
    }
    Answer ask(const std::string& text) override { return questions.push_back(text), answer(text); }
    std::vector<ShownMessage> messages;
    std::function<void(const std::string&)> onMessage;
    std::vector<std::string> questions;
    std::function<Answer(const std::string&)> answer = [](const std::string&) {
        return Answer::No;
    };
};

// Values under "application/section/key".
struct MemorySettingsStore final : SettingsStore {
    std::string read(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& fallback) override {
        const auto found = values.find(application + "/" + section + "/" + key);
        return found == values.end() ? fallback : found->second;
    }
    std::string write(const std::string& application, const std::string& section,
                      const std::string& key, const std::string& value) override {
        return failWrites ? "refused"
                          : (values[application + "/" + section + "/" + key] = value, "");
    }
    std::map<std::string, std::string> values;
    bool failWrites = false;
};

// A serial device that opens the names it is given, each answering the version query (0x5A)
// with its bytes (none: a silent device); any other name is missing.
struct AnsweringDevice final : SerialDevice {
    explicit AnsweringDevice(std::map<std::string, std::vector<uint8_t>> replies)
        : replies_(std::move(replies)) {}
    SerialError open(const std::string& path, const LineParameters&) override {
        const auto found = replies_.find(path);
        return found == replies_.end() ? SerialError::DeviceMissing
                                       : (reply_ = found->second, SerialError::None);
    }
    DeviceWrite write(uint8_t byte) override {
        received_ = byte == 0x5A ? reply_ : std::vector<uint8_t>{};
        return DeviceWrite::Written;
    }
    bool outputPending() override { return false; }
    void discardOutput() override {}
    size_t read(uint8_t* into, size_t capacity) override {
        const size_t count = std::min(capacity, received_.size());
        std::copy_n(received_.begin(), count, into);
        received_.erase(received_.begin(), received_.begin() + static_cast<long>(count));
        return count;
    }
    void discardInput() override { received_.clear(); }
    bool hungUp() override { return false; }
    void close() override {}

  private:
    std::map<std::string, std::vector<uint8_t>> replies_;
    std::vector<uint8_t> reply_;
    std::vector<uint8_t> received_;
};

// The serial devices a test lists under their own names, answering as replies says.
struct FakeSerialPorts final : SerialPorts {
    std::vector<PresentPort> present() override { return ports; }
    std::string targetOf(const std::string& device) override { return device; }
    std::unique_ptr<SerialDevice> newDevice() override {
        return std::make_unique<AnsweringDevice>(replies);
    }
    std::vector<PresentPort> ports;
    std::map<std::string, std::vector<uint8_t>> replies;
};

// Says what a test sets.
struct FakeClockSync final : ClockSyncSource {
    ClockSync read() override { return sync; }
    ClockSync sync;
};

// Records the steps asked of it; each step's result can be set.
struct FakeStartupEntry final : StartupEntry {
    std::string openForCreate() override { return step("openForCreate", openForCreateResult); }
    std::string setCommand(const std::string& programPath) override {
        if (setCommandResult) {
            present = true, command = programPath;
        }
        return step("setCommand", setCommandResult);
    }
    std::string openExisting() override { return step("openExisting", openExistingResult); }
    std::string deleteCommand() override {
        return step("deleteCommand", std::exchange(present, false));
    }
    void close() override { steps.push_back("close"); }

    std::vector<std::string> steps;
    bool present = false;
    std::string command;
    bool openForCreateResult = true;
    bool setCommandResult = true;
    bool openExistingResult = true;

  private:
    std::string step(const char* name, bool succeeds) {
        return steps.push_back(name), succeeds ? "" : "refused";
    }
};

// The system's files, with a hook that runs before each operation: a slow disk is a hook that
// moves a fake clock on, a failing one a hook that returns a reason (only replace() honours it).
struct HookedFiles final : FileLayer {
    std::optional<FileStamp> stamp(const std::string& path) override {
        return hook("stamp", path), systemFiles().stamp(path);
    }
    bool exists(const std::string& path) override {
        return hook("exists", path), systemFiles().exists(path);
    }
    FileReadResult read(const std::string& path, int64_t maxBytes) override {
        return hook("read", path), systemFiles().read(path, maxBytes);
    }
    std::string replace(const std::string& path, std::string_view bytes) override {
        const std::string refused = hook("replace", path);
        return refused.empty() ? systemFiles().replace(path, bytes) : refused;
    }
    FileReadResult tail(const std::string& path, int64_t maxBytes) override {
        return hook("tail", path), systemFiles().tail(path, maxBytes);
    }
    std::string remove(const std::string& folder, const std::string& name) override {
        const std::string refused = hook("remove", folder + name);
        return refused.empty() ? systemFiles().remove(folder, name) : refused;
    }
    std::function<std::string(const std::string& operation, const std::string& path)> onCall;

  private:
    std::string hook(const char* operation, const std::string& path) {
        return onCall ? onCall(operation, path) : std::string();
    }
};

} // namespace quorel::test
