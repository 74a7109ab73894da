#pragma once
// What assistive tools are told about the module's windows, where the toolkit's own account
// shows what the operator cannot see:
// - a tab the page hides (the second radio of a pair, "WDS Info" without WDS) is announced as
//   hidden, has no place on screen and cannot be chosen; the toolkit reports it as showing;
// - a column a list view hides (a row's index, the SSID a device without it lacks) is announced
//   as hidden, without its header's text or its cells'; the list's table has the shown columns;
// - a list view kept out of sight as the page's working list (the slots written through it)
//   offers no rows and no column headers (the descriptors' raw names) while it is out of sight.
// main() and the tests' main() install it once, after the application object exists.

namespace platform {

void installAccessibility();

} // namespace platform
