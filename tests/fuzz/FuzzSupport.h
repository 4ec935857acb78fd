// What the fuzz harnesses share: a quiet, headless environment for the kit, the faults that
// are known and being fixed elsewhere, and a check that stops the run when a harness finds
// a result that breaks a promise of the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class BBitmap;

namespace fuzz {

// Draws off screen and silences Qt's and the image libraries' warnings about broken files,
// which every other input would print. Call first, before anything starts Qt.
void PrepareEnvironment();

// Faults already reported and being fixed in the code they live in. While one is open, the
// harnesses keep their inputs clear of it, so that it does not end every run and hide what
// is not known yet. DORVA_FUZZ_KNOWN=hit in the environment lets the inputs reach them all
// the same (to check a fix); remove a fault from the list once its fix is in.
enum class KnownFault {
	// BMessage::FindRef throws std::length_error for a ref value whose only NUL byte is
	// its last one.
	RefWithOneNul,
	// A drop point beyond int's range (1e30), or a "scale" of 0 that makes the offset
	// infinite, reaches int(drop_pos.x) in the paste: undefined behaviour.
	DropPointOutOfRange,
	// A bitmap stream header that promises far more data than will come (a 1 x 1 picture
	// with 1 GiB rows) has its whole size set aside before any data arrives.
	HeaderPromisesHugeData,
};
bool Avoid(KnownFault fault);

// Bytes that a bitmap stream header may promise while HeaderPromisesHugeData is avoided.
const uint32_t kMaxPromisedBytes = 64u << 20;
// The data size a bitmap stream header at the start of bytes promises, or 0 when the bytes
// do not start with such a header.
uint32_t PromisedBitmapBytes(const uint8_t* bytes, size_t size);

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
