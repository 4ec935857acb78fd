#include "DataIO.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "SeekTarget.h"

BDataIO::~BDataIO() = default;

ssize_t BDataIO::Read(void*, size_t)
{
	return B_NOT_ALLOWED;
}

ssize_t BDataIO::Write(const void*, size_t)
{
	return B_NOT_ALLOWED;
}

ssize_t BPositionIO::Read(void* buffer, size_t size)
{
	off_t position = Position();
	ssize_t result = ReadAt(position, buffer, size);
	if (result > 0)
		Seek(position + result, SEEK_SET);
	return result;
}

ssize_t BPositionIO::Write(const void* buffer, size_t size)
{
	off_t position = Position();
	ssize_t result = WriteAt(position, buffer, size);
	if (result > 0)
		Seek(position + result, SEEK_SET);
	return result;
}

status_t BPositionIO::SetSize(off_t)
{
	return B_ERROR;
}

status_t BPositionIO::GetSize(off_t* size) const
{
	// The generic answer: the end is wherever seeking to it lands.
	BPositionIO* self = const_cast<BPositionIO*>(this);
	off_t current = Position();
	off_t end = self->Seek(0, SEEK_END);
	self->Seek(current, SEEK_SET);
	if (end < 0)
		return status_t(end);
	*size = end;
	return B_OK;
}

BMemoryIO::BMemoryIO(void* data, size_t size)
	: fData(static_cast<char*>(data)), fLength(size), fBufferSize(size), fPosition(0),
	  fReadOnly(false)
{
}

BMemoryIO::BMemoryIO(const void* data, size_t size)
	: fData(const_cast<char*>(static_cast<const char*>(data))), fLength(size), fBufferSize(size),
	  fPosition(0), fReadOnly(true)
{
}

ssize_t BMemoryIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fLength)
		return 0;
	size_t count = std::min(size, fLength - size_t(position));
	std::memcpy(buffer, fData + position, count);
	return ssize_t(count);
}

ssize_t BMemoryIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fBufferSize)
		return 0;
	size_t count = std::min(size, fBufferSize - size_t(position));
	std::memcpy(fData + position, buffer, count);
	fLength = std::max(fLength, size_t(position) + count);
	return ssize_t(count);
}

off_t BMemoryIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = kit::SeekTarget(
		position, seekMode, fPosition, [this](off_t* size) { return GetSize(size); });
	if (target < 0)
		return target;
	fPosition = target;
	return fPosition;
}

status_t BMemoryIO::SetSize(off_t size)
{
	if (fReadOnly)
		return B_NOT_ALLOWED;
	if (size < 0 || size_t(size) > fBufferSize)
		return B_ERROR;
	fLength = size_t(size);
	return B_OK;
}

status_t BMemoryIO::GetSize(off_t* size) const
{
	*size = off_t(fLength);
	return B_OK;
}

BMallocIO::BMallocIO() : fPosition(0)
{
}

ssize_t BMallocIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (size_t(position) >= fData.size())
		return 0;
	size_t count = std::min(size, fData.size() - size_t(position));
	std::memcpy(buffer, fData.data() + position, count);
	return ssize_t(count);
}

// A memory stream larger than this is refused before anything is allocated: no picture or
// message of the program comes near it, and asking the allocator for absurd sizes aborts
// some allocators instead of failing.
static const size_t kMaxMallocIOSize = size_t(1) << 34;

ssize_t BMallocIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (size == 0)
		return 0;
	if (size > kMaxMallocIOSize || size_t(position) > kMaxMallocIOSize - size)
		return B_NO_MEMORY;
	size_t end = size_t(position) + size;
	// A position far past the end asks for a buffer that cannot exist; vector reports that
	// as length_error rather than bad_alloc, and neither may escape the stream.
	try {
		if (end > fData.size())
			fData.resize(end);
	} catch (const std::exception&) {
		return B_NO_MEMORY;
	}
	std::memcpy(fData.data() + position, buffer, size);
	return ssize_t(size);
}

off_t BMallocIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = kit::SeekTarget(
		position, seekMode, fPosition, [this](off_t* size) { return GetSize(size); });
	if (target < 0)
		return target;
	fPosition = target;
	return fPosition;
}

status_t BMallocIO::SetSize(off_t size)
{
	if (size < 0)
		return B_BAD_VALUE;
	if (uint64(size) > kMaxMallocIOSize)
		return B_NO_MEMORY;
	try {
		fData.resize(size_t(size));
	} catch (const std::exception&) {
		return B_NO_MEMORY;
	}
	return B_OK;
}

status_t BMallocIO::GetSize(off_t* size) const
{
	*size = off_t(fData.size());
	return B_OK;
}
