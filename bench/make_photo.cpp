// Writes a picture that compresses and decodes like a photograph (a sky, hills, soft round
// shapes, fine grain) as a binary PPM on standard output, for the benchmarks to turn into
// a JPEG with cjpeg. The same size and seed always give the same pixels.
//   make_photo WIDTH HEIGHT [SEED] > picture.ppm
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A small fast generator: the grain only has to look random, not be random.
struct Grain {
	uint32_t state;
	int next(int spread)
	{
		state ^= state << 13;
		state ^= state >> 17;
		state ^= state << 5;
		return int(state % uint32_t(2 * spread + 1)) - spread;
	}
};

uint8_t clamp_byte(double value)
{
	return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
}

struct Blob {
	double x, y, radius, r, g, b;
};

} // namespace

int main(int argc, char** argv)
{
	if (argc < 3) {
		std::fprintf(stderr, "usage: make_photo WIDTH HEIGHT [SEED] > picture.ppm\n");
		return 2;
	}
	const int width = std::atoi(argv[1]);
	const int height = std::atoi(argv[2]);
	const uint32_t seed = argc > 3 ? uint32_t(std::strtoul(argv[3], nullptr, 10)) : 2007;
	if (width <= 0 || height <= 0 || width > 30000 || height > 30000) {
		std::fprintf(stderr, "make_photo: a size of 1 to 30000 pixels a side, please\n");
		return 2;
	}

	Grain grain{seed | 1};
	std::vector<Blob> blobs;
	for (int i = 0; i < 24; i++) {
		blobs.push_back({double(grain.next(1000) + 1000) / 2000 * width,
			double(grain.next(1000) + 1000) / 2000 * height,
			(0.02 + double(grain.next(1000) + 1000) / 2000 * 0.12) * width,
			double(grain.next(127) + 128), double(grain.next(127) + 128),
			double(grain.next(127) + 128)});
	}

	std::printf("P6\n%d %d\n255\n", width, height);
	std::vector<uint8_t> row(size_t(width) * 3);
	for (int y = 0; y < height; y++) {
		const double v = double(y) / height;
		for (int x = 0; x < width; x++) {
			const double u = double(x) / width;
			// The horizon wanders; above it a sky that pales downwards, below it hills.
			const double horizon = 0.55 + 0.06 * std::sin(u * 9.0) + 0.03 * std::sin(u * 31.0);
			double r, g, b;
			if (v < horizon) {
				r = 90 + 120 * v;
				g = 140 + 90 * v;
				b = 230 - 20 * v;
			} else {
				const double shade = 0.5 + 0.5 * std::sin(u * 40.0 + v * 25.0);
				r = 60 + 50 * shade + 40 * (v - horizon);
				g = 90 + 70 * shade;
				b = 40 + 30 * shade;
			}
			for (const Blob& blob : blobs) {
				const double dx = x - blob.x, dy = y - blob.y;
				const double d2 = (dx * dx + dy * dy) / (blob.radius * blob.radius);
				if (d2 < 1.0) {
					const double weight = (1.0 - d2) * 0.7;
					r += (blob.r - r) * weight;
					g += (blob.g - g) * weight;
					b += (blob.b - b) * weight;
				}
			}
			uint8_t* pixel = &row[size_t(x) * 3];
			pixel[0] = clamp_byte(r + grain.next(12));
			pixel[1] = clamp_byte(g + grain.next(12));
			pixel[2] = clamp_byte(b + grain.next(12));
		}
		if (std::fwrite(row.data(), 1, row.size(), stdout) != row.size()) {
			std::fprintf(stderr, "make_photo: could not write\n");
			return 1;
		}
	}
	return std::fflush(stdout) == 0 ? 0 : 1;
}
