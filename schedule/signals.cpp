#include "schedule/signals.h"

#include "schedule/record_reader.h"
#include "schedule/record_writer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quorel {

namespace {

// A whole number of 1 to 4 digits, or none.
std::optional<int> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(std::string(text));
}

// Seconds with at most one decimal ("1", "0.5", "2,5" is two durations), in tenths.
std::optional<int> tenthsOf(std::string_view text) {
    const size_t point = text.find('.');
    const std::optional<int> whole = wholeNumber(text.substr(0, point));
    if (!whole) {
        return std::nullopt;
    }
    if (point == std::string_view::npos) {
        return *whole * 10;
    }
    const std::string_view decimal = text.substr(point + 1);
    if (decimal.size() != 1 || decimal[0] < '0' || decimal[0] > '9') {
        return std::nullopt;
    }
    return *whole * 10 + (decimal[0] - '0');
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        std::string_view part = text.substr(start, end - start);
        while (!part.empty() && part.front() == ' ') {
            part.remove_prefix(1);
        }
        while (!part.empty() && part.back() == ' ') {
            part.remove_suffix(1);
        }
        parts.push_back(part);
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

int cycleTenths(const Signal& signal) {
    return std::accumulate(signal.tenths.begin(), signal.tenths.end(), 0);
}

} // namespace

bool Signal::drives(int output) const {
    return std::find(outputs.begin(), outputs.end(), output) != outputs.end();
}

bool Signal::overAt(double elapsed) const {
    return repetitions > 0 && elapsed * 10 >= static_cast<double>(cycleTenths(*this)) * repetitions;
}

bool Signal::onAt(double elapsed) const {
    const int cycle = cycleTenths(*this);
    if (cycle <= 0 || elapsed < 0 || overAt(elapsed)) {
        return false;
    }
    // In tenths, rounded down: the tick that reaches a step's start switches it.
    const long long at = static_cast<long long>(std::floor(elapsed * 10 + 1e-6)) % cycle;
    long long start = 0;
    for (size_t step = 0; step < tenths.size(); ++step) {
        start += tenths[step];
        if (at < start) {
            return step % 2 == 0;
        }
    }
    return false;
}

std::vector<SignalRecord> readSignalRecords(std::string_view bytes) {
    std::vector<SignalRecord> records;
    RecordReader reader(bytes);
    while (const std::optional<std::vector<std::string>> fields = reader.next(4)) {
        records.push_back({(*fields)[0], (*fields)[1], (*fields)[2], (*fields)[3]});
    }
    return records;
}

std::string signalsBytes(const std::vector<SignalRecord>& records) {
    std::string bytes;
    for (const SignalRecord& record : records) {
        writeRecord(bytes, {record.name, record.outputs, record.durations, record.repetitions});
    }
    return bytes;
}

std::string outputsText(const std::vector<int>& outputs) {
    std::string text;
    for (int output : outputs) {
        if (!text.empty()) {
            text += '+';
        }
        text += std::to_string(output);
    }
    return text;
}

std::optional<Signal> signalOf(const SignalRecord& record, std::string* fault) {
    const auto skipped = [fault](const std::string& why) {
        if (fault != nullptr) {
            *fault = why;
        }
        return std::nullopt;
    };
    Signal signal;
    signal.name = record.name;
    if (record.name.empty() || record.name.size() > kSignalNameMaxLength) {
        return skipped("nom vide ou trop long (" + std::to_string(kSignalNameMaxLength) +
                       " caractères au plus)");
    }
    for (std::string_view part : split(record.outputs, '+')) {
        const std::optional<int> output = wholeNumber(part);
        if (!output || *output < 1 || *output > 4) {
            return skipped("sorties invalides « " + record.outputs + " » (1 à 4, par exemple 1+2)");
        }
        if (!signal.drives(*output)) {
            signal.outputs.push_back(*output);
        }
    }
    std::sort(signal.outputs.begin(), signal.outputs.end());
    for (std::string_view part : split(record.durations, ',')) {
        const std::optional<int> tenths = tenthsOf(part);
        if (!tenths || *tenths < 1 || *tenths > kSignalStepMaxTenths) {
            return skipped("durées invalides « " + record.durations +
                           " » (secondes, une décimale au plus, de 0.1 à 3600)");
        }
        signal.tenths.push_back(*tenths);
    }
    if (signal.tenths.size() > kSignalStepsMax) {
        return skipped("trop de durées (" + std::to_string(kSignalStepsMax) + " au plus)");
    }
    const std::optional<int> repetitions = wholeNumber(record.repetitions);
    if (!repetitions || *repetitions > kSignalRepetitionsMax) {
        return skipped("répétitions invalides « " + record.repetitions + " » (0 à " +
                       std::to_string(kSignalRepetitionsMax) + ", 0 : jusqu'à l'arrêt)");
    }
    signal.repetitions = *repetitions;
    return signal;
}

SignalsRead loadSignals(const std::string& path, FileLayer& files) {
    SignalsRead read;
    if (!files.exists(path)) {
        return read;
    }
    const FileReadResult file = files.read(path, kSignalsMaxBytes);
    if (!file.ok()) {
        read.error = file.error;
        return read;
    }
    for (const SignalRecord& record : readSignalRecords(file.bytes)) {
        std::string fault;
        if (std::optional<Signal> signal = signalOf(record, &fault)) {
            read.runnable.push_back(std::move(*signal));
        } else {
            read.skipped.push_back("Signal « " + record.name + " » ignoré : " + fault);
        }
    }
    return read;
}

} // namespace quorel
