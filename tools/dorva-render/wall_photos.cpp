#include "wall_photos.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "File.h"
#include "renderer.h"
#include "wall_layout.h"

std::vector<std::string> pictures_of(const std::vector<std::string>& arguments)
{
	std::error_code failure;
	if (arguments.size() != 1 || !std::filesystem::is_directory(arguments[0], failure))
		return arguments;
	std::vector<std::string> pictures;
	for (const auto& entry : std::filesystem::directory_iterator(arguments[0], failure)) {
		if (!entry.is_regular_file(failure))
			continue;
		BFile file(entry.path().c_str(), B_READ_ONLY);
		picture_facts facts;
		if (file.InitCheck() == B_OK && read_picture_facts(&file, &facts) == B_OK)
			pictures.push_back(entry.path().string());
	}
	std::sort(pictures.begin(), pictures.end());
	return pictures;
}

bool prepare_photo(const std::string& path, BRect frame, bool fit, float resolution, bool enlarge,
	page_photo* photo, std::string* error)
{
	BFile file(path.c_str(), B_READ_ONLY);
	if (file.InitCheck() != B_OK) {
		*error = std::string("cannot be opened: ") + failure_reason(file.InitCheck());
		return false;
	}
	if (read_picture_facts(&file, &photo->facts) != B_OK) {
		*error = "holds no picture that dorva can read";
		return false;
	}
	const float width = float(photo->facts.width), height = float(photo->facts.height);
	const BRect source = fit ? BRect(0, 0, width, height) : crop_to_fill(width, height, frame);
	photo->place = fit ? fit_inside(width, height, frame) : frame;
	if (source.Width() <= 0 || photo->place.Width() <= 0 || photo->place.Height() <= 0) {
		*error = "is too small to print";
		return false;
	}
	photo->resolution = source.Width() / (photo->place.Width() / 72);
	const float scale = resolution / photo->resolution;
	const float shrink = std::min(1.0f, scale);
	const float outScale = enlarge ? scale : shrink;
	const int32 outWidth = std::max<int32>(1, std::lround(source.Width() * outScale));
	const int32 outHeight = std::max<int32>(1, std::lround(source.Height() * outScale));

	BBitmap* decoded = nullptr;
	file.Seek(0, SEEK_SET);
	status_t status = read_picture_at_least(
		&file, int32(std::ceil(width * shrink)), int32(std::ceil(height * shrink)), &decoded);
	if (status != B_OK) {
		*error = "holds no picture that dorva can read";
		return false;
	}
	std::unique_ptr<BBitmap> whole(decoded);
	const float toDecoded = (whole->Bounds().Width() + 1) / width;
	// The part's edges in the decoded picture, as bounds count them (right and bottom in).
	const BRect part(source.left * toDecoded, source.top * toDecoded, source.right * toDecoded - 1,
		source.bottom * toDecoded - 1);
	photo->bitmap.reset(resample_picture(whole.get(), part, outWidth, outHeight));
	if (!photo->bitmap) {
		*error = "too large to hold in memory";
		return false;
	}
	return true;
}
