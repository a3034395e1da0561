#pragma once

// What the window's own controls tell a screen reader beyond what Qt says for them by itself.

namespace quillo::ui {

// Installs the accessibility interfaces of the program's controls, before any is asked for:
// - a combo box is named by its accessible name or its label's buddy on every system (Qt's own
//   names it by its current item on Linux) and keeps its list and text field as children;
// - a Slider reports the figure the window shows beside it (its position times shownFactor()),
//   and its accessible description as its value text;
// - a Panel with a caption is static text reading that caption; one without is a group, named
//   by its accessible name;
// - an IpAddressEdit is a group named by its label, whose description is the whole address.
// Installing again changes nothing.
void InstallAccessibleInterfaces();

}  // namespace quillo::ui
