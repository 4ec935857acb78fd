// An unnamed temporary file to write and then read back, for output made in two steps (a
// document that one library writes and another rewrites). It lives in the given folder where
// its file system has unnamed files, so that it takes disk rather than memory, and in memory
// otherwise. Having no name, it is never left behind, however the process ends.
#pragma once

#include "DataIO.h"

namespace kit {

class ScratchFile : public BPositionIO {
public:
	explicit ScratchFile(const char* folder);
	~ScratchFile() override;
	ScratchFile(const ScratchFile&) = delete;
	ScratchFile& operator=(const ScratchFile&) = delete;

	// B_OK, or why no file could be had.
	status_t InitCheck() const { return fStatus; }
	// For reading the file back with a library of its own; the scratch file keeps it.
	int Descriptor() const { return fDescriptor; }

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	// Writes all of it, or fails with the system's reason (a full disk says so).
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override { return fPosition; }
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

private:
	int fDescriptor;
	status_t fStatus;
	off_t fPosition;
};

} // namespace kit
