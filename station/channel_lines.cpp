#include "station/channel_lines.h"

#include <array>

namespace quorel {

void ChannelLines::add(std::string_view bytes) {
    if (!fault_.empty()) {
        return;
    }
    // Only the new bytes are looked at: a line sent a byte at a time costs no more than another.
    size_t from = buffer_.size();
    buffer_.append(bytes);
    for (size_t end = buffer_.find('\n', from); end != std::string::npos;
         end = buffer_.find('\n', end + 1)) {
        if (end + 1 - openLine_ > maxLineBytes_) {
            fault_ = "message trop long";
            return;
        }
        openLine_ = end + 1;
    }
    if (buffer_.size() - openLine_ > maxLineBytes_) {
        fault_ = "message trop long";
    }
}

std::optional<Message> ChannelLines::next() {
    if (start_ > 0 && (start_ == buffer_.size() || start_ > 64 * 1024)) {
        buffer_.erase(0, start_);
        openLine_ -= start_;
        start_ = 0;
    }
    while (fault_.empty()) {
        const size_t end = buffer_.find('\n', start_);
        if (end == std::string::npos) {
            break;
        }
        std::string_view line(buffer_.data() + start_, end - start_);
        start_ = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue; // a blank line is no message, and no fault
        }
        Message message = Message::parse(line, nullptr, false);
        if (!message.is_object()) {
            fault_ = "message mal formé";
            break;
        }
        return message;
    }
    return std::nullopt;
}

std::string messageLine(const Message& message) {
    return message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

std::string encodeBytes(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0U);
        }
        for (size_t k = 0; k < 4; ++k) {
            text += k <= count ? kAlphabet[group >> (18 - 6 * k) & 63] : '=';
        }
    }
    return text;
}

std::optional<std::string> decodeBytes(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        uint32_t group = 0;
        int padding = 0;
        for (size_t k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && k >= 2 && i + 4 == text.size()) {
                ++padding;
                group <<= 6;
                continue;
            }
            const size_t value = kAlphabet.find(c);
            if (value == std::string_view::npos || padding > 0) {
                return std::nullopt;
            }
            group = group << 6 | static_cast<uint32_t>(value);
        }
        for (int k = 0; k < 3 - padding; ++k) {
            bytes += static_cast<char>(group >> (16 - 8 * k) & 0xFF);
        }
    }
    return bytes;
}

} // namespace quorel
