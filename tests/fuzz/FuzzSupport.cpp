#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Bitmap.h"

namespace fuzz {

void PrepareEnvironment()
{
	setenv("QT_QPA_PLATFORM", "offscreen", 0);
	// Broken pictures are what the harnesses feed; the warnings about them are noise.
	setenv("QT_LOGGING_RULES", "*.debug=false;*.info=false;*.warning=false", 0);
}

void Require(bool condition, const char* what)
{
	if (condition)
		return;
	std::fprintf(stderr, "fuzz: broken promise: %s\n", what);
	std::abort();
}

bool Verbose()
{
	static const bool verbose = [] {
		const char* value = std::getenv("DORVA_FUZZ_VERBOSE");
		return value != nullptr && std::strcmp(value, "1") == 0;
	}();
	return verbose;
}

void CheckPicture(const BBitmap& bitmap)
{
	Require(bitmap.IsValid(), "a decoded picture is valid");
	Require(bitmap.ColorSpace() == B_RGB32, "a decoded picture is B_RGB32");
	Require(bitmap.Bits() != nullptr, "a decoded picture has pixels");
	const int64_t width = bitmap.PixelWidth();
	const int64_t height = bitmap.PixelHeight();
	Require(width > 0 && height > 0, "a decoded picture is at least one pixel");
	Require(int64_t(bitmap.BytesPerRow()) >= width * 4, "a row holds its pixels");
	Require(int64_t(bitmap.BitsLength()) == int64_t(bitmap.BytesPerRow()) * height,
		"the pixel memory is its rows");
	const volatile uint8_t* bytes = static_cast<const uint8_t*>(bitmap.Bits());
	uint8_t sum = 0;
	for (int64_t row = 0; row < height; row++)
		sum ^= bytes[row * bitmap.BytesPerRow() + width * 4 - 1];
	(void)sum;
}

const std::string& ScratchFolder()
{
	// Never destroyed: the folder is removed at exit, after static objects may be gone.
	static const std::string* folder = [] {
		std::string base = std::filesystem::temp_directory_path().string();
		auto* made = new std::string(base + "/dorva-fuzz.XXXXXX");
		if (mkdtemp(made->data()) == nullptr) {
			std::perror("fuzz: cannot make a scratch folder");
			std::abort();
		}
		std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
		return made;
	}();
	return *folder;
}

} // namespace fuzz
