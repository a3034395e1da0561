#include "sim/sim_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace quillo::sim {

namespace unit = protocol::unit;

namespace {

constexpr int kMaxCount = 1000000;
constexpr int kMaxMilliseconds = 60000;
constexpr int kMaxNetworks = 100;

std::string_view Trimmed(std::string_view text) {
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A model by the last word of its list name, in any case.
std::optional<Model> ModelNamed(std::string_view name) {
    const auto sameLetter = [](char16_t listed, char given) {
        return listed < 0x80 &&
               std::tolower(listed) == std::tolower(static_cast<unsigned char>(given));
    };
    for (const unit::ModelIdentity& identity : unit::kModels) {
        const std::u16string_view word =
            identity.listName.substr(identity.listName.rfind(u' ') + 1);
        if (std::equal(word.begin(), word.end(), name.begin(), name.end(), sameLetter)) {
            return identity.model;
        }
    }
    return std::nullopt;
}

int Number(std::string_view option, std::string_view value, int maximum) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || number < 0 ||
        number > maximum) {
        throw SimOptionsError("option '" + std::string(option) +
                              "' needs a whole number from 0 to " + std::to_string(maximum) +
                              ", not '" + std::string(value) + "'");
    }
    return number;
}

void Apply(SimUnitOptions& target, std::string_view model, std::string_view option) {
    const std::size_t equals = option.find('=');
    const std::string_view name = Trimmed(option.substr(0, equals));
    const bool hasValue = equals != std::string_view::npos;
    const std::string_view value = hasValue ? Trimmed(option.substr(equals + 1)) : "";
    Faults& faults = target.faults;

    const auto flag = [&] {
        if (hasValue) {
            throw SimOptionsError("option '" + std::string(name) + "' takes no value");
        }
    };
    const auto count = [&] { return Number(name, value, kMaxCount); };
    const auto milliseconds = [&] {
        return std::chrono::milliseconds(Number(name, value, kMaxMilliseconds));
    };
    if (name == "refuse-first-open") {
        flag();
        faults.refusedReadWriteOpens = 1;
    } else if (name == "unreadable-lengths") {
        flag();
        faults.unreadableLengths = 1;
    } else if (name == "delay") {
        faults.answerDelay = milliseconds();
    } else if (name == "stray") {
        faults.strayLineEvery = milliseconds();
    } else if (name == "networks") {
        target.networks = Number(name, value, kMaxNetworks);
    } else if (name == "refuse-opens") {
        faults.refusedReadWriteOpens = count();
    } else if (name == "zero-reads") {
        faults.zeroLengthReads = count();
    } else if (name == "read-errors") {
        faults.readErrors = count();
    } else if (name == "write-errors") {
        faults.writeErrors = count();
    } else if (name == "garbage") {
        faults.garbageEvery = count();
    } else {
        throw SimOptionsError("unknown option '" + std::string(name) + "' for " +
                              std::string(model));
    }
}

}  // namespace

std::vector<std::string> AccessPoints(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        char line[80];
        std::snprintf(line, sizeof line,
                      R"(+CWLAP:(3,"Network %d",-%d,"02:00:00:00:00:%02x",6,0,0))", i, 40 + i % 50,
                      i);
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<SimUnitOptions> ParseSimOptions(std::string_view value) {
    std::vector<SimUnitOptions> units;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string_view item =
            Trimmed(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (!item.empty()) {
            const std::size_t colon = item.find(':');
            const std::string_view modelName = Trimmed(item.substr(0, colon));
            const std::optional<Model> model = ModelNamed(modelName);
            if (!model) {
                throw SimOptionsError("unknown unit '" + std::string(modelName) +
                                      "' (solvi or pargo)");
            }
            auto last = std::find_if(units.rbegin(), units.rend(),
                                     [&](const auto& u) { return u.model == *model; });
            if (colon == std::string_view::npos || last == units.rend()) {
                units.push_back({*model, Faults{}, std::nullopt});
                last = units.rbegin();
            }
            SimUnitOptions& target = *last;
            if (colon != std::string_view::npos) {
                std::string_view options = item.substr(colon + 1);
                for (std::size_t next = options.find(':');; next = options.find(':')) {
                    Apply(target, modelName, options.substr(0, next));
                    if (next == std::string_view::npos) {
                        break;
                    }
                    options.remove_prefix(next + 1);
                }
            }
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return units;
}

std::unique_ptr<SimBackend> CreateSimBackend(std::string_view value) {
    auto backend = std::make_unique<SimBackend>();
    for (const SimUnitOptions& options : ParseSimOptions(value)) {
        SimInterface& iface = backend->plugUnit(options.model, false);
        iface.setFaults(options.faults);
        if (options.networks) {
            iface.unit()->accessPoints = AccessPoints(*options.networks);
        }
    }
    return backend;
}

std::unique_ptr<SimBackend> SimBackendOrExit(std::string_view value) {
    try {
        return CreateSimBackend(value);
    } catch (const SimOptionsError& error) {
        std::cerr << "QUILLO_SIMULATE: " << error.what() << std::endl;
        // Ends at once: the caller is in the middle of building the program, whose half-made
        // objects are not for destructors or exit handlers to run over.
        std::_Exit(2);
    }
}

}  // namespace quillo::sim
