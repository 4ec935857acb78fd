// Running other programs from tests through the shell: poppler's tools, dorva-render.
#pragma once

#include <string>

// The text quoted for the shell, whatever it holds.
std::string ShellQuoted(const std::string& text);

// What the command prints on standard output; its exit status (-1 when it did not end by
// itself) in *status.
std::string OutputOf(const std::string& command, int* status = nullptr);

// Whether poppler's tools (pdfinfo, pdfimages, pdffonts, pdftotext, pdftoppm) are installed.
bool HavePoppler();
