// What Qt's accessibility (and through it AT-SPI) tells a screen reader of
// the controls that Qt has no interface for: the window Form1 is a frame
// window, a StatusBar a status bar, and an UpDown a spin box whose value is
// its position.
#pragma once

// Adds these interfaces to Qt's accessibility, once however often it is
// called. Call it before the window or a spinner is built.
void InstallControlAccessibility();
