#pragma once

// What assistive technology learns of an LED widget: the caption it shows,
// as its value, and as its name too while the host gave it none.

namespace LEDCtl1 {

// Makes LED widgets answer accessibility queries; safe to call again.
void InstallLedAccessibility();

} // namespace LEDCtl1
