// quorel-relay-sim: stands in for the USB-RLY02 relay module, or for a board of the same family
// with more relays, so that Quorel can run without the hardware. It offers a pseudo-terminal as the
// module's serial port, prints each command byte it receives and answers the module's two queries
// as the module does.

#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "relay/relay_bytes.h"
#include "relay/simulated_module.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quorel;

constexpr const char* kUsage =
    "usage: quorel-relay-sim [--link PATH] [--port N] [--relays 2|4] [--silent]\n"
    "                        [--stuck N:on|off] [--reset-after SECONDS]\n"
    "\n"
    "Simulates the USB-RLY02 relay module for Quorel. It creates a pseudo-terminal that behaves\n"
    "as the module's serial port, prints the path of that port, then prints one line per byte\n"
    "received: the time with milliseconds and what the byte means (\"relay 1 ON\", \"relay 2 "
    "OFF\",\n"
    "or the unknown byte in hex). The port stays available when Quorel closes and reopens it.\n"
    "It answers the query 0x5A with the module's identifier 10 and its version, and 0x5B with\n"
    "the states of its two relays (bit 0: relay 1, bit 1: relay 2).\n"
    "\n"
    "  --link PATH  also make a symbolic link at PATH to the port (a stable name, like the\n"
    "               /dev/serial/by-id/... link of the real module)\n"
    "  --port N     point Quorel's port option COMN: (N = 1 to 4) at the port, by setting\n"
    "               [Ports] COMN in $XDG_CONFIG_HOME/VornAlmare.ini (default ~/.config); the link\n"
    "               is used when given, else the pseudo-terminal itself\n"
    "  --relays 2|4 the number of relays: 2, the USB-RLY02 (the default), or 4, a board of the\n"
    "               same family with more relays, which answers 0x5A with identifier 8 (as a\n"
    "               USB-RLY08); its relays 3 and 4 take the bytes 0x67, 0x68 (on) and 0x71,\n"
    "               0x72 (off), and bits 2 and 3 of its answer to 0x5B are theirs\n"
    "  --silent     answer no query, as a device that is not the module\n"
    "  --stuck N:on|off\n"
    "               relay N (1 or 2; up to 4 with --relays 4) stays in that state whatever it\n"
    "               is told\n"
    "  --reset-after SECONDS\n"
    "               switch all relays off once, SECONDS after the start, as a module does\n"
    "               that loses its power for a moment\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Ctrl-C (or SIGTERM) ends it; it then removes the link and restores or removes the [Ports]\n"
    "value it set.\n"
    "\n"
    "Example: quorel-relay-sim --port 1, then start Quorel and choose \"COM1:\".\n";

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

struct Options {
    std::string link;
    int port = 0;
    int relays = kRelayCount;
    bool silent = false;
    int stuckRelay = 0; // 1 to relays; 0: none
    bool stuckOn = false;
    double resetAfter = -1; // seconds; negative: never
};

// The options, or nullopt after a short error on the standard error output.
std::optional<Options> refused(const std::string& problem) {
    std::fprintf(stderr, "quorel-relay-sim: %s\nTry 'quorel-relay-sim --help'.\n", problem.c_str());
    return std::nullopt;
}

std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (arg == "--version" || arg == "-v") {
            std::printf("quorel-relay-sim %s\n", QUOREL_VERSION);
            std::exit(0);
        }
        if (arg == "--silent") {
            options.silent = true;
            continue;
        }
        if (arg != "--link" && arg != "--port" && arg != "--relays" && arg != "--stuck" &&
            arg != "--reset-after") {
            return refused("unknown option '" + arg + "'");
        }
        if (i + 1 >= argc) {
            return refused("option '" + arg + "' needs a value");
        }
        const std::string value = argv[++i];
        if (arg == "--link") {
            options.link = std::filesystem::absolute(value).string();
        } else if (arg == "--relays") {
            if (value != "2" && value != "4") {
                return refused("--relays takes 2 or 4, not '" + value + "'");
            }
            options.relays = value[0] - '0';
        } else if (arg == "--stuck") {
            const std::string state = value.size() > 2 ? value.substr(2) : "";
            if (value.size() < 3 || value[0] < '1' || value[0] > '4' || value[1] != ':' ||
                (state != "on" && state != "off")) {
                return refused("--stuck takes N:on or N:off (N = 1 to 4), not '" + value + "'");
            }
            options.stuckRelay = value[0] - '0';
            options.stuckOn = state == "on";
        } else if (arg == "--reset-after") {
            char* end = nullptr;
            options.resetAfter = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(options.resetAfter >= 0) ||
                options.resetAfter > 1e7) {
                return refused("--reset-after takes a number of seconds, not '" + value + "'");
            }
        } else if (value.size() == 1 && value[0] >= '1' && value[0] <= '4') {
            options.port = value[0] - '0';
        } else {
            return refused("--port takes 1, 2, 3 or 4, not '" + value + "'");
        }
    }
    // Checked once all options are read: --relays may come after --stuck.
    if (options.stuckRelay > options.relays) {
        return refused("--stuck names relay " + std::to_string(options.stuckRelay) +
                       ", and the module has " + std::to_string(options.relays) +
                       " (--relays 4 for more)");
    }
    return options;
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// What the byte does to a module with this many relays: a relay byte of a relay it does not have
// is unknown to it.
std::string meaningOf(uint8_t byte, int relays) {
    if (byte == kGetVersion) {
        return "query: version";
    }
    if (byte == kGetRelayStates) {
        return "query: relay states";
    }
    for (int relay = 1; relay <= relays; ++relay) {
        if (byte == relayByte(relay, true) || byte == relayByte(relay, false)) {
            return "relay " + std::to_string(relay) +
                   (byte == relayByte(relay, true) ? " ON" : " OFF");
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "unknown byte 0x%02X", byte);
    return text;
}

std::string timestampNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                  local.tm_sec, now.tv_nsec / 1000000);
    return text;
}

// Points the store's [Ports] value of a port at the simulator for as long as it runs, then puts
// back the value it replaced; a store file made only to hold the value goes altogether.
class PortValue {
  public:
    PortValue(int port, const std::string& device)
        : store_(userSettingsStore()), key_("COM" + std::to_string(port)) {
        previous_ = store_.read(kStoreApplication, kPortsSection, key_, "");
        fileExisted_ = std::filesystem::exists(store_.filePath(kStoreApplication));
        error_ = store_.write(kStoreApplication, kPortsSection, key_, device);
    }
    ~PortValue() {
        if (!isSet()) {
            return;
        }
        const std::string error =
            previous_.empty() ? removeValue()
                              : store_.write(kStoreApplication, kPortsSection, key_, previous_);
        if (!error.empty()) {
            std::fprintf(stderr, "quorel-relay-sim: cannot put back %s: %s\n",
                         description().c_str(), error.c_str());
        }
    }
    bool isSet() const { return error_.empty(); }
    // Why the value could not be set.
    const std::string& error() const { return error_; }
    std::string description() const {
        return "[" + std::string(kPortsSection) + "] " + key_ + " in " +
               store_.filePath(kStoreApplication);
    }

  private:
    std::string removeValue() {
        const std::string error = store_.remove(kStoreApplication, kPortsSection, key_);
        if (!error.empty() || fileExisted_ || !store_.holdsOnlySectionHeaders(kStoreApplication)) {
            return error;
        }
        std::error_code removal;
        std::filesystem::remove(store_.filePath(kStoreApplication), removal);
        return removal ? removal.message() : std::string();
    }

    IniSettingsStore store_;
    std::string key_;
    std::string previous_;
    bool fileExisted_ = false;
    std::string error_;
};

class StableLink {
  public:
    StableLink(std::string path, const std::string& target) : path_(std::move(path)) {
        struct stat info {};
        // A link left behind by an earlier run is replaced; anything else is not ours to touch.
        if (::lstat(path_.c_str(), &info) == 0) {
            if (!S_ISLNK(info.st_mode) || ::unlink(path_.c_str()) != 0) {
                return;
            }
        }
        made_ = ::symlink(target.c_str(), path_.c_str()) == 0;
        target_ = target;
    }
    ~StableLink() {
        std::error_code error;
        if (made_ && std::filesystem::read_symlink(path_, error) == target_) {
            ::unlink(path_.c_str());
        }
    }
    bool made() const { return made_; }

  private:
    std::string path_;
    std::string target_;
    bool made_ = false;
};

void installStopHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the wait for bytes must end when a stop is requested.
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

double monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void serveUntilStopped(int master, const Options& options) {
    SimulatedModule module(options.stuckRelay, options.stuckOn, options.relays);
    const double started = monotonicNow();
    bool resetDone = options.resetAfter < 0;
    while (stopRequested == 0) {
        int timeout = -1;
        if (!resetDone) {
            const double left = started + options.resetAfter - monotonicNow();
            if (left <= 0) {
                module.reset();
                resetDone = true;
                say(timestampNow() + " reset: relays off");
                continue;
            }
            timeout = static_cast<int>(left * 1000) + 1;
        }
        pollfd watch{master, POLLIN, 0};
        const int ready = ::poll(&watch, 1, timeout);
        if (ready <= 0) {
            continue; // interrupted by a signal, or the time of the reset
        }
        uint8_t bytes[256];
        const ssize_t count = ::read(master, bytes, sizeof bytes);
        if (count <= 0) {
            if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
                ::usleep(50'000); // no port side open at this moment
            }
            continue;
        }
        const std::string at = timestampNow();
        for (ssize_t i = 0; i < count; ++i) {
            say(at + " " + meaningOf(bytes[i], options.relays));
            std::vector<uint8_t> answer = module.receive(bytes[i]);
            if (options.silent) {
                answer.clear();
            }
            if (!answer.empty() && ::write(master, answer.data(), answer.size()) !=
                                       static_cast<ssize_t>(answer.size())) {
                say(at + " answer lost");
            }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        return 2;
    }
    installStopHandlers();

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::fprintf(stderr, "quorel-relay-sim: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string portSide = ::ptsname(master);
    // Held open here so that Quorel closing its port does not hang the pseudo-terminal up.
    const int heldPortSide = ::open(portSide.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (heldPortSide < 0 || ::tcgetattr(heldPortSide, &raw) != 0) {
        std::fprintf(stderr, "quorel-relay-sim: cannot open %s\n", portSide.c_str());
        return 1;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(heldPortSide, TCSANOW, &raw);
    say("port side: " + portSide);

    std::optional<StableLink> link;
    if (!options->link.empty()) {
        link.emplace(options->link, portSide);
        if (!link->made()) {
            std::fprintf(stderr, "quorel-relay-sim: cannot make the link %s\n",
                         options->link.c_str());
            return 1;
        }
        say("link: " + options->link + " -> " + portSide);
    }
    std::optional<PortValue> portValue;
    if (options->port != 0) {
        const std::string offered = options->link.empty() ? portSide : options->link;
        portValue.emplace(options->port, offered);
        if (!portValue->isSet()) {
            std::fprintf(stderr, "quorel-relay-sim: cannot write %s: %s\n",
                         portValue->description().c_str(), portValue->error().c_str());
            return 1;
        }
        say(portValue->description() + " = " + offered);
    }
    say("ready: waiting for relay commands (Ctrl-C to stop)");

    serveUntilStopped(master, *options);

    ::close(heldPortSide);
    ::close(master);
    return 0;
}
