// Bytes written into a bitmap stream: the raw "image/x-be-bitmap" data of a drop, and what
// every translator writes. Either the bytes arrive in order, in chunks of one size, as the
// paste copies them; or the input is a script of writes, seeks and reads at any position.
// What the stream reads back must be what was written, and a bitmap it hands out must be
// whole.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "BitmapStream.h"
#include "FuzzSupport.h"

namespace {

void trace(const char* what, long long position, long long size, long long result)
{
	if (fuzz::Verbose())
		std::fprintf(stderr, "bitmap_stream_fuzz: %s at %lld, %lld bytes: %lld\n", what, position,
			size, result);
}

// The largest chunk or read the script asks for.
const size_t kMaxChunk = 4096;
// The furthest position the script writes or reads at: the header and some rows.
const off_t kMaxPosition = 1 << 16;
const size_t kHeaderSize = 32;

// The bytes written so far, by position, as the stream should give them back.
class Shadow {
public:
	void Wrote(off_t position, const uint8_t* bytes, size_t count)
	{
		size_t end = size_t(position) + count;
		if (fBytes.size() < end) {
			fBytes.resize(end);
			fKnown.resize(end, false);
		}
		std::copy(bytes, bytes + count, fBytes.begin() + position);
		std::fill(fKnown.begin() + position, fKnown.begin() + end, true);
	}

	// A write that failed on the header may still have left its bytes there: the stream keeps
	// a refused header, and then refuses everything.
	void Refused(off_t position, size_t size)
	{
		size_t end = std::min(kHeaderSize, size_t(position) + size);
		for (size_t at = size_t(position); at < end && at < fKnown.size(); at++)
			fKnown[at] = false;
	}

	void Read(off_t position, const uint8_t* bytes, size_t count) const
	{
		for (size_t i = 0; i < count; i++) {
			size_t at = size_t(position) + i;
			if (at < fBytes.size() && fKnown[at])
				fuzz::Require(bytes[i] == fBytes[at], "a stream reads back what was written");
		}
	}

	void Forget()
	{
		fBytes.clear();
		fKnown.clear();
	}

private:
	std::vector<uint8_t> fBytes;
	std::vector<bool> fKnown;
};

void detach(BBitmapStream* stream)
{
	BBitmap* picture = nullptr;
	if (stream->DetachBitmap(&picture) != B_OK)
		return;
	fuzz::Require(picture != nullptr, "a detached bitmap exists");
	fuzz::CheckPicture(*picture);
	delete picture;
	BBitmap* again = nullptr;
	fuzz::Require(stream->DetachBitmap(&again) != B_OK, "a bitmap is detached only once");
}

// The paste's way: every byte in order, chunk after chunk, until the stream refuses one.
void write_in_order(FuzzedDataProvider* input)
{
	size_t chunk = input->ConsumeIntegralInRange<size_t>(1, kMaxChunk);
	std::vector<uint8_t> bytes = input->ConsumeRemainingBytes<uint8_t>();
	BBitmapStream stream;
	for (size_t at = 0; at < bytes.size(); at += chunk) {
		size_t count = std::min(chunk, bytes.size() - at);
		ssize_t written = stream.Write(bytes.data() + at, count);
		fuzz::Require(written <= ssize_t(count), "a write moves at most what it was given");
		if (written != ssize_t(count))
			break;
	}
	detach(&stream);
}

void run_script(FuzzedDataProvider* input)
{
	BBitmapStream stream;
	Shadow shadow;
	std::vector<uint8_t> buffer;
	// What a write of buffer at position gave: checked, and kept in the shadow.
	auto wrote = [&](const char* what, off_t position, ssize_t written) {
		trace(what, position, buffer.size(), written);
		fuzz::Require(written <= ssize_t(buffer.size()), "a write moves at most what it was given");
		if (written > 0)
			shadow.Wrote(position, buffer.data(), size_t(written));
		else if (written < 0 && position >= 0)
			shadow.Refused(position, buffer.size());
	};
	while (input->remaining_bytes() > 0) {
		switch (input->ConsumeIntegralInRange(0, 5)) {
			case 0: { // write at the position
				buffer = input->ConsumeBytes<uint8_t>(
					input->ConsumeIntegralInRange<size_t>(0, kMaxChunk));
				off_t position = stream.Position();
				wrote("write", position, stream.Write(buffer.data(), buffer.size()));
				break;
			}
			case 1: { // write anywhere
				off_t position = input->ConsumeIntegralInRange<off_t>(-1, kMaxPosition);
				buffer = input->ConsumeBytes<uint8_t>(
					input->ConsumeIntegralInRange<size_t>(0, kMaxChunk));
				wrote("write at", position, stream.WriteAt(position, buffer.data(), buffer.size()));
				break;
			}
			case 2: { // read anywhere
				off_t position = input->ConsumeIntegralInRange<off_t>(-1, kMaxPosition);
				buffer.assign(input->ConsumeIntegralInRange<size_t>(0, kMaxChunk), 0);
				ssize_t read = stream.ReadAt(position, buffer.data(), buffer.size());
				trace("read at", position, buffer.size(), read);
				fuzz::Require(read <= ssize_t(buffer.size()), "a read fills at most its buffer");
				if (read > 0)
					shadow.Read(position, buffer.data(), size_t(read));
				break;
			}
			case 3: { // seek
				static const uint32 modes[] = {SEEK_SET, SEEK_CUR, SEEK_END, 7};
				off_t to = input->ConsumeIntegralInRange<off_t>(-kMaxPosition, kMaxPosition);
				off_t result = stream.Seek(to, input->PickValueInArray(modes));
				trace("seek", to, 0, result);
				fuzz::Require(stream.Position() >= 0, "a stream's position is never negative");
				break;
			}
			case 4: { // sizes
				off_t size = -1;
				fuzz::Require(stream.GetSize(&size) == B_OK && size >= 0, "a stream has a size");
				stream.SetSize(input->ConsumeBool() ? size : input->ConsumeIntegral<off_t>());
				break;
			}
			case 5:
				trace("detach", stream.Position(), 0, 0);
				detach(&stream);
				shadow.Forget();
				break;
		}
	}
	detach(&stream);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	FuzzedDataProvider input(data, size);
	if (input.ConsumeBool())
		write_in_order(&input);
	else
		run_script(&input);
	return 0;
}
