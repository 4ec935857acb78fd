// The pictures the benchmarks measure with, read as the program reads its files.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "File.h"
#include "picture_files.h"

// The picture of the file at path; the benchmark ends, naming the file, when it cannot be
// read.
inline BBitmap* decode_file(const char* path)
{
	BFile file(path, B_READ_ONLY);
	BBitmap* bitmap = nullptr;
	if (read_picture(&file, &bitmap) != B_OK) {
		std::fprintf(stderr, "cannot decode %s\n", path);
		std::exit(1);
	}
	return bitmap;
}
