// What the fuzz harnesses share: a quiet, headless environment for the kit and a check that
// stops the run when a harness finds a result that breaks a promise of the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class BBitmap;

namespace fuzz {

// Draws off screen and silences Qt's and the image libraries' warnings about broken files,
// which every other input would print. Call first, before anything starts Qt.
void PrepareEnvironment();

// Ends the run with the fault's description when condition is false: a result that the
// code under test promises never to give.
void Require(bool condition, const char* what);

// Checks what every decoded picture handed to the program promises: B_RGB32, with memory
// for all its rows. The last pixel of every row is read, so that the sanitizer sees a
// buffer shorter than the picture says.
void CheckPicture(const BBitmap& bitmap);

// Whether DORVA_FUZZ_VERBOSE=1 asks the harnesses to say what each input gave, to see what
// a corpus reaches or to follow a crash.
bool Verbose();

// A scratch folder of the process's own, made on first use and removed at exit.
const std::string& ScratchFolder();

} // namespace fuzz
