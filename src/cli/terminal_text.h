#pragma once

#include <QString>

namespace quillo::cli {

// A text that came from the unit, the air or the system (a name, password, serial number,
// device path), as text output shows it: control characters (C0, DEL, C1) and the characters
// that reorder or break a line are written as \xNN or \uNNNN, and a backslash as \\, so that
// nothing an access point calls itself reaches the terminal as a command, and what is shown
// reads back unambiguously. JSON output escapes on its own.
QString TerminalText(const QString& text);

}  // namespace quillo::cli
