// An open regular file, read and written by position.
//
// A BFile is either a plain open file or, when BDirectory::CreateFile made it, a safe-write
// file: its data goes to a temporary file beside the final name, and only Commit() puts it
// in place of whatever had that name. A safe-write file that is destroyed or Unset()
// without Commit() leaves the file system exactly as it was. Reading a safe-write file
// back is not supported.
//
// Commit() syncs the data to the disk before the rename, and any failure on the way (a
// full disk, a file size limit, the sync itself) leaves the old file byte for byte and the
// temporary file removed; the status then carries the system's reason (status_text). A
// final name that is a symbolic link is itself replaced, never what it points to. A
// temporary file is also removed when SIGTERM, SIGINT or SIGHUP ends the process.
//
// Where the folder takes no temporary file (a folder the user may not write) but the file
// exists, is no symbolic link and may be written, the file is written in place: the data
// waits aside until Commit() copies it over the old contents and cuts the file to its new
// length. Room is set aside before the copy and the old contents are kept aside during it,
// so that a failure puts them back. The file's type attribute (BAppFileInfo) is then set
// on the file itself.
#pragma once

#include "DataIO.h"
#include "EntryRef.h"
#include "Node.h"

class BDirectory;

class BFile : public BNode, public BPositionIO {
public:
	BFile();
	// openMode is one of B_READ_ONLY, B_WRITE_ONLY, B_READ_WRITE, or-ed with B_CREATE_FILE,
	// B_ERASE_FILE, B_FAIL_IF_EXISTS, B_OPEN_AT_END. A directory or a missing file (without
	// B_CREATE_FILE) leaves InitCheck() with the reason.
	BFile(const entry_ref* ref, uint32 openMode);
	BFile(const char* path, uint32 openMode);
	~BFile() override;

	status_t SetTo(const entry_ref* ref, uint32 openMode);
	status_t SetTo(const char* path, uint32 openMode);
	void Unset() override;

	bool IsReadable() const;
	bool IsWritable() const;
	bool IsSafeWrite() const;

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;
	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override;
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

	// A safe-write file: moves the written data into place under the final name and closes
	// the file (InitCheck() is B_NO_INIT afterwards). On failure, including any earlier
	// failed write, the old file stays untouched. A plain file: its data is already in
	// place, so this only reports whether the file is open.
	status_t Commit();

private:
	friend class BDirectory;
	status_t _SetToSafeWrite(const char* path);
	status_t _SetToWriteInPlace(const char* path);
	status_t _RenameTemporary();
	status_t _NameUnnamedFile();
	status_t _CopyStageInPlace();
	int _Descriptor() const override;

	struct Private;
	Private* fPrivate;
};
