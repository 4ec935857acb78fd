// Byte streams: a plain stream (BDataIO), a seekable one (BPositionIO), a stream over
// a fixed block of memory (BMemoryIO) and one over a growing buffer (BMallocIO).
#pragma once

#include <cstdio> // SEEK_SET, SEEK_CUR, SEEK_END for Seek()
#include <vector>

#include "SupportDefs.h"

class BDataIO {
public:
	virtual ~BDataIO();

	// Both return the number of bytes moved, or a negative status on failure.
	virtual ssize_t Read(void* buffer, size_t size);
	virtual ssize_t Write(const void* buffer, size_t size);
};

class BPositionIO : public BDataIO {
public:
	ssize_t Read(void* buffer, size_t size) override;
	ssize_t Write(const void* buffer, size_t size) override;

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size) = 0;
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;

	// mode is SEEK_SET, SEEK_CUR or SEEK_END; returns the new position or a negative status.
	virtual off_t Seek(off_t position, uint32 seekMode) = 0;
	virtual off_t Position() const = 0;
	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t* size) const;
};

class BMemoryIO : public BPositionIO {
public:
	// A writable stream over size bytes at data; it never grows.
	BMemoryIO(void* data, size_t size);
	// A read-only stream.
	BMemoryIO(const void* data, size_t size);

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override { return fPosition; }
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

private:
	char* fData;
	size_t fLength;
	size_t fBufferSize;
	off_t fPosition;
	bool fReadOnly;
};

class BMallocIO : public BPositionIO {
public:
	BMallocIO();

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override { return fPosition; }
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

	const void* Buffer() const { return fData.data(); }
	size_t BufferLength() const { return fData.size(); }

private:
	std::vector<char> fData;
	off_t fPosition;
};
