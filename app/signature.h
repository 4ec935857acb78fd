// The program's signature: the application's MIME-style name, from which the platform makes
// its other names (the session bus name, the desktop entry's id). It needs nothing else, so
// that any program of the project can include it.
#pragma once

inline constexpr char kAppSignature[] = "application/x-vnd.Vesk-dorva";
