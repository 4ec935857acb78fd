// Whether the Qt application the kit is about to make can open a display. Qt ends the process
// with an abort (and a core dump, and advice about reinstalling) when its platform plug-in
// cannot start, from inside QGuiApplication's constructor; the kit asks first, in the way the
// plug-ins themselves would connect, and ends the process cleanly instead.
#pragma once

#include <string>

namespace kit {

// The platform for Qt to use, or an empty text to leave the choice to Qt.
//
// With QT_QPA_PLATFORM set, its platforms (a list separated by ";", each perhaps followed by
// ":" and arguments) are Qt's to choose among; platforms the kit cannot test, such as the
// offscreen one that the tests use, are taken to work. Without it, the X display of DISPLAY
// (through xcb, with its authorization) and the Wayland compositor of WAYLAND_DISPLAY (or
// wayland-0) in XDG_RUNTIME_DIR are tried: when only one of them answers, that one is chosen,
// so that Qt does not abort on the other; when both do, Qt chooses.
//
// When nothing can be opened, writes one line to standard error that names what was tried,
// and ends the process with status 1.
std::string PlatformForDisplayOrExit();

} // namespace kit
