// quillo-uhid-unit: simulated units, and other HID devices, on the kernel's /dev/uhid, so that
// the programs meet them through a real kernel's hidraw nodes and a real udev. Reads one
// command per line on standard input and logs what happens on standard output:
//
//   plug <solvi|pargo> <serial> [options]   a unit; options as in QUILLO_SIMULATE (delay,
//                                           networks, garbage, stray) and, ':' between them,
//                                           input=<n> output=<n> (data bytes of the reports),
//                                           no-report-id, answers=<n> (falls silent after n
//                                           answers), flood=<ms> (an unasked report that
//                                           often), unplug-at=<hex> (pulls itself out on
//                                           receiving a report that starts so), silent-at=<hex>
//                                           and silent-for=<ms> (falls silent on receiving such
//                                           a report, answers again that much later)
//   device <vid> <pid> <serial> <name...>   another HID device (IDs in hex); it never answers
//   unplug <serial>
//   mute <serial> | unmute <serial>         stops or resumes answering
//   flood <serial> <ms>                     0 stops the flood
//   quit                                    (also at the end of the input) unplugs everything
//
// Log lines: "<ms> <serial> plugged|started|open|close|unplugged", "<ms> <serial> out <hex>"
// for every report the unit receives, "<ms> <serial> in <hex>" for every answer it sends, and
// "<ms> - error <text>" for a command that failed.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <list>
#include <sstream>
#include <string>
#include <vector>

#include "sim/uhid_unit/uhid_device.h"

namespace {

using namespace quillo::sim;
using namespace quillo::sim::uhid;

int Number(const std::string& text, int base, int maximum) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > maximum) {
        throw std::runtime_error("'" + text + "' is not a number from 0 to " +
                                 std::to_string(maximum));
    }
    return value;
}

std::vector<std::uint8_t> Bytes(const std::string& option, const std::string& hex) {
    if (hex.empty() || hex.size() % 2 != 0) {
        throw std::runtime_error(option + " needs whole bytes in hex, not '" + hex + "'");
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(Number(hex.substr(i, 2), 16, 0xFF)));
    }
    return bytes;
}

// The unit's own options go to the descriptor and the answers; the rest are the simulator's.
DeviceSetup UnitSpec(const std::string& model, const std::string& serial,
                     const std::string& options) {
    DeviceSetup setup;
    setup.serial = serial;
    std::string simOptions;
    std::istringstream list(options);
    for (std::string option; std::getline(list, option, ':');) {
        const std::size_t equals = option.find('=');
        const std::string name = option.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : option.substr(equals + 1);
        if (name == "input") {
            setup.shape.inputBytes = Number(value, 10, 4095);
        } else if (name == "output") {
            setup.shape.outputBytes = Number(value, 10, 4095);
        } else if (name == "no-report-id") {
            setup.shape.numbered = false;
        } else if (name == "answers") {
            setup.answerLimit = Number(value, 10, 1000000);
        } else if (name == "flood") {
            setup.flood = std::chrono::milliseconds(Number(value, 10, 60000));
        } else if (name == "silent-for") {
            setup.silentFor = std::chrono::milliseconds(Number(value, 10, 600000));
        } else if (name == "unplug-at") {
            setup.unplugAt = Bytes(name, value);
        } else if (name == "silent-at") {
            setup.silentAt = Bytes(name, value);
        } else if (name == "delay" || name == "networks" || name == "garbage" || name == "stray") {
            simOptions += ":" + option;
        } else if (!option.empty()) {
            // The simulator's faults of opens, reads and writes are the kernel's business here.
            throw std::runtime_error("unknown option '" + option + "'");
        }
    }
    const std::vector<SimUnitOptions> parsed = ParseSimOptions(model + simOptions);
    if (parsed.size() != 1) {
        throw std::runtime_error("one unit per plug command");
    }
    setup.unit = parsed.front();
    const auto& identity = quillo::protocol::unit::modelIdentity(setup.unit->model);
    setup.name.assign(identity.productString.begin(), identity.productString.end());
    setup.vendorId = quillo::protocol::unit::kVendorId;
    setup.productId = quillo::protocol::unit::kProductId;
    return setup;
}

class Units {
public:
    void Run(const std::string& line) {
        std::istringstream words(line);
        std::string command;
        std::string serial;
        words >> command >> serial;
        if (command.empty() || command[0] == '#') {
            return;
        }
        if (command == "plug") {
            // The second word is the model here.
            const std::string unitSerial = Word(words, "serial");
            std::string options;
            words >> options;
            Add(UnitSpec(serial, unitSerial, options));
        } else if (command == "device") {
            DeviceSetup setup;
            setup.vendorId = static_cast<std::uint16_t>(Number(serial, 16, 0xFFFF));
            setup.productId =
                static_cast<std::uint16_t>(Number(Word(words, "product ID"), 16, 0xFFFF));
            setup.serial = Word(words, "serial");
            std::getline(words >> std::ws, setup.name);
            Add(std::move(setup));
        } else if (command == "unplug") {
            devices_.erase(Find(serial));
        } else if (command == "mute" || command == "unmute") {
            (*Find(serial))->setMuted(command == "mute");
        } else if (command == "flood") {
            (*Find(serial))
                ->setFlood(std::chrono::milliseconds(Number(Word(words, "ms"), 10, 60000)));
        } else {
            throw std::runtime_error("unknown command '" + command + "'");
        }
    }

    std::list<std::unique_ptr<UhidDevice>>& devices() { return devices_; }

private:
    static std::string Word(std::istream& words, const char* what) {
        std::string word;
        if (!(words >> word)) {
            throw std::runtime_error(std::string("missing ") + what);
        }
        return word;
    }

    void Add(DeviceSetup setup) {
        if (setup.serial.empty() || Present(setup.serial)) {
            throw std::runtime_error("a device needs a serial of its own");
        }
        devices_.push_back(std::make_unique<UhidDevice>(std::move(setup)));
    }

    bool Present(const std::string& serial) const {
        return std::any_of(devices_.begin(), devices_.end(),
                           [&](const auto& d) { return d->serial() == serial; });
    }

    std::list<std::unique_ptr<UhidDevice>>::iterator Find(const std::string& serial) {
        const auto it = std::find_if(devices_.begin(), devices_.end(),
                                     [&](const auto& d) { return d->serial() == serial; });
        if (it == devices_.end()) {
            throw std::runtime_error("no device with the serial '" + serial + "'");
        }
        return it;
    }

    std::list<std::unique_ptr<UhidDevice>> devices_;
};

}  // namespace

int main() {
    Units units;
    std::string pending;  // a command line not yet complete
    for (;;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        std::optional<Clock::time_point> wake;
        for (const auto& device : units.devices()) {
            fds.push_back({device->fd(), POLLIN, 0});
            if (const auto next = device->NextWake()) {
                wake = wake ? std::min(*wake, *next) : *next;
            }
        }
        int timeout = -1;
        if (wake) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*wake - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        if (poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            std::perror("poll");
            return 1;
        }
        try {
            for (const auto& device : units.devices()) {
                const auto it = std::find_if(fds.begin(), fds.end(),
                                             [&](const pollfd& p) { return p.fd == device->fd(); });
                if (it != fds.end() && (it->revents & POLLIN) != 0) {
                    device->HandleEvent();
                }
                device->Pump();
            }
            units.devices().remove_if([](const auto& device) { return device->pulledOut(); });
        } catch (const std::exception& error) {
            LogLine("-", (std::string("error ") + error.what()).c_str());
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            char buffer[4096];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            pending.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end = pending.find('\n'); end != std::string::npos;
                 end = pending.find('\n')) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (line == "quit") {
                    return 0;
                }
                try {
                    units.Run(line);
                } catch (const std::exception& error) {
                    LogLine("-", (std::string("error ") + error.what()).c_str());
                }
            }
        }
    }
    return 0;
}
