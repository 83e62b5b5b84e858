#pragma once

// Makes the rack controls known to assistive tools (screen readers reach them through Qt's
// accessibility layer and AT-SPI): LED buttons and panels as push buttons named by their caption
// (a button that is one choice of a group as a radio button), an LED button's light as its checked
// state, each with a press action that does what a click does; the display as a value whose text
// is its SpokenText; the announcer as a notification. Call once, before the first window.
void InstallFaceplateAccessibility();
