// The photos of the wall calendar's pages: which pictures a run uses, and each made the
// size it is printed at.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "picture_files.h"

// The pictures of the arguments: a directory given alone stands for its files that hold a
// picture, in name order; anything else is taken as it is.
std::vector<std::string> pictures_of(const std::vector<std::string>& arguments);

// One page's photo, resampled for where it is printed.
struct page_photo {
	std::unique_ptr<BBitmap> bitmap;
	BRect place;          // where on the page (points) the bitmap goes
	float resolution = 0; // pixels per inch of the picture where it is printed
	picture_facts facts;
};

// Reads the picture and makes of it the photo for frame (points): cropped to fill it, or
// whole inside it (fit); resampled to the resolution (pixels per inch) where it is printed.
// A photo for a PDF (enlarge false) keeps the picture's own resolution where that is lower;
// one for an image is made exactly as large as it is drawn. False, with a one-line reason.
bool prepare_photo(const std::string& path, BRect frame, bool fit, float resolution, bool enlarge,
	page_photo* photo, std::string* error);
