#pragma once

// The value of QUILLO_SIMULATE: which simulated units a run has and how each misbehaves.
//
//   solvi,pargo                               two units
//   solvi:delay=150,pargo:networks=0          options after the model name, ':' between them
//   solvi,solvi:refuse-first-open             an option goes to the last unit of that model
//                                             named so far (the second Solvi here); a first
//                                             option of a model not named yet plugs one in
//
// Options: delay=<ms> (answers arrive that much later), networks=<n> (access points a scan
// finds), refuse-first-open and refuse-opens=<n> (read/write opens refused), unreadable-lengths
// (the capabilities cannot be read at the first check-out), stray=<ms> (a scan line nobody
// asked for that often), zero-reads=<n>, read-errors=<n>, write-errors=<n>, garbage=<n> (every
// n-th answer is garbage). Anything else is an error.

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/sim_backend.h"

namespace quillo::sim {

class SimOptionsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimUnitOptions {
    Model model = Model::Solvi;
    Faults faults;
    std::optional<int> networks;  // none: the unit's own list
};

// The scan lines of `count` access points named "Network 1" and on, as networks=<n> gives them.
std::vector<std::string> AccessPoints(int count);

// Throws SimOptionsError with a message that names what was not understood.
std::vector<SimUnitOptions> ParseSimOptions(std::string_view value);

// A backend with the units of `value` plugged in and their faults set; throws SimOptionsError.
std::unique_ptr<SimBackend> CreateSimBackend(std::string_view value);

// The same for a run of the program: on an error it says so on standard error and ends the
// program, so a mistyped option is never silently ignored.
std::unique_ptr<SimBackend> SimBackendOrExit(std::string_view value);

}  // namespace quillo::sim
