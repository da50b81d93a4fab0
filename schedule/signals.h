#pragma once

#include "platform/file_layer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// The largest Quorel.signaux read: a signal takes well under 200 bytes.
inline constexpr int64_t kSignalsMaxBytes = 16 * 1024;
inline constexpr size_t kSignalNameMaxLength = 40;
// A pattern's steps: at most this many durations, each from 0.1 s to an hour.
inline constexpr size_t kSignalStepsMax = 20;
inline constexpr int kSignalStepMaxTenths = 36000;
inline constexpr int kSignalRepetitionsMax = 1000;

// A record of Quorel.signaux as it stands in the file, "Alerte intrusion","1+2","1,1","0", kept
// whole so that the dialog shows, and saves back, even a record that is skipped.
struct SignalRecord {
    std::string name;
    std::string outputs;     // "1", "1+2", … outputs 1 to 4
    std::string durations;   // seconds with at most one decimal, on and off in turn: "1,1"
    std::string repetitions; // how many times the durations run; "0": until stopped
    bool operator==(const SignalRecord&) const = default;
};

// A signal: a named pattern switched on and off on its outputs.
struct Signal {
    std::string name;
    std::vector<int> outputs; // ascending, each once
    std::vector<int> tenths;  // on, off, on, … in tenths of a second
    int repetitions = 1;      // 0: until stopped
    bool operator==(const Signal&) const = default;

    // Whether the outputs are on at that many seconds after the start; false once it is over.
    bool onAt(double elapsed) const;
    // Whether it is over at that many seconds after the start; never for one until stopped.
    bool overAt(double elapsed) const;
    bool drives(int output) const;
};

std::vector<SignalRecord> readSignalRecords(std::string_view bytes);
std::string signalsBytes(const std::vector<SignalRecord>& records);
// The signal a record stands for, or why it is skipped (in French).
std::optional<Signal> signalOf(const SignalRecord& record, std::string* fault = nullptr);
// The outputs as the file writes them: "1+2".
std::string outputsText(const std::vector<int>& outputs);

// The signals of the file at path that can run, in file order, and for each record skipped a
// line saying why ("Signal « X » ignoré : …"); none when the file is missing.
struct SignalsRead {
    std::vector<Signal> runnable;
    std::vector<std::string> skipped;
    std::string error; // the file exists but cannot be read
};
SignalsRead loadSignals(const std::string& path, FileLayer& files = systemFiles());

} // namespace quorel
