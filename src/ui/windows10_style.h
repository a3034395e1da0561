#pragma once

#include <QString>

namespace quillo::ui {

// The visual styles the program carries; only "Windows10" so far.
// Applies the named style (the name's case does not matter). When the program has no style of
// that name, shows the error "Style '<name>' not found" and keeps the toolkit's standard look.
// Returns whether the style was applied.
bool ApplyVisualStyle(const QString& name);

// Makes "Tahoma" resolve to a font that covers Latin, Cyrillic and CJK when Tahoma itself is
// not installed.
void ApplyProgramFonts();

}  // namespace quillo::ui
