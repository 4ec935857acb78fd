// The MIME types under which dropped data is taken for a picture.
#pragma once

#include <cstring>

// Data already in the platform's bitmap stream format travels under this type.
inline constexpr char kRawBitmapType[] = "image/x-be-bitmap";

// Every type that begins with "image" is taken for a picture.
inline bool is_image_type(const char* type)
{
	static constexpr char kImagePrefix[] = "image";
	return std::strncmp(type, kImagePrefix, sizeof(kImagePrefix) - 1) == 0;
}
