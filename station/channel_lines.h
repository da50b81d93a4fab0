#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// The channel between the station and its consoles carries JSON objects, one per line.
using Message = nlohmann::json;

// The longest line the station takes from a console, line end included; a longer one drops the
// console. The station's own answers may be longer (a journal day), so the console's bound is
// larger.
inline constexpr size_t kConsoleLineMaxBytes = 64 * 1024;
inline constexpr size_t kStationLineMaxBytes = 4 * 1024 * 1024;
// The largest file a console may write through the station: its bytes travel in Base64 (4
// characters for 3 bytes) within one console line, beside its name and a few fields.
inline constexpr size_t kConsoleFileMaxBytes = (kConsoleLineMaxBytes - 256) / 4 * 3;

// Cuts the bytes received on a connection into messages. A line longer than the bound, or one
// that is not a JSON object, is a fault of the peer: the reader says which and stops.
class ChannelLines {
  public:
    explicit ChannelLines(size_t maxLineBytes) : maxLineBytes_(maxLineBytes) {}

    // Adds the bytes received. A line already over the bound is a fault at once, without waiting
    // for its end.
    void add(std::string_view bytes);
    // The next whole message, or nullopt when none is complete (or after a fault).
    std::optional<Message> next();
    // Why the peer is at fault: "message trop long", "message mal formé"; empty while it is not.
    const std::string& fault() const { return fault_; }
    // Bytes received that no whole line holds yet.
    size_t pendingBytes() const { return buffer_.size() - start_; }

  private:
    size_t maxLineBytes_;
    std::string buffer_;
    size_t start_ = 0;    // where the first line not yet taken begins
    size_t openLine_ = 0; // where the line that has no end yet begins
    std::string fault_;
};

// A message as one line, ready to send; bytes that are not UTF-8 are replaced, never refused.
std::string messageLine(const Message& message);

// File bytes in a message: Base64, since day files are not UTF-8.
std::string encodeBytes(std::string_view bytes);
// nullopt when text is not Base64.
std::optional<std::string> decodeBytes(std::string_view text);

} // namespace quorel
