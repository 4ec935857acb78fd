#include "Entry.h"

#include "EntryResolution.h"
#include "Path.h"
#include "Utf8Text.h"

BEntry::BEntry() : fStatus(B_NO_INIT)
{
}

BEntry::BEntry(const char* path, bool traverse) : fStatus(B_NO_INIT)
{
	SetTo(path, traverse);
}

BEntry::BEntry(const entry_ref* ref, bool traverse) : fStatus(B_NO_INIT)
{
	SetTo(ref, traverse);
}

BEntry::~BEntry() = default;

status_t BEntry::SetTo(const char* path, bool traverse)
{
	Unset();
	if (path == nullptr)
		return fStatus = B_BAD_VALUE;
	entry_ref ref;
	fStatus = kit::ResolveEntry(path, traverse, &ref);
	if (fStatus == B_OK)
		fRef = ref;
	return fStatus;
}

status_t BEntry::SetTo(const entry_ref* ref, bool traverse)
{
	if (ref == nullptr || !ref->IsSet()) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	// The ref's directory is checked again: it may have gone since the ref was made.
	std::string path = ref->Path();
	return SetTo(path.c_str(), traverse);
}

void BEntry::Unset()
{
	fRef = entry_ref();
	fStatus = B_NO_INIT;
}

int32 BEntry::_Flavor() const
{
	return fStatus == B_OK ? kit::NodeFlavorAt(fRef.Path()) : 0;
}

bool BEntry::Exists() const
{
	return _Flavor() != 0;
}

bool BEntry::IsFile() const
{
	return _Flavor() == B_FILE_NODE;
}

bool BEntry::IsDirectory() const
{
	return _Flavor() == B_DIRECTORY_NODE;
}

bool BEntry::IsSymLink() const
{
	return _Flavor() == B_SYMLINK_NODE;
}

status_t BEntry::GetRef(entry_ref* ref) const
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	*ref = fRef;
	return B_OK;
}

status_t BEntry::GetPath(BPath* path) const
{
	if (path == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	return path->SetTo(&fRef);
}

status_t BEntry::GetName(char* name) const
{
	if (name == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	// The root directory's leaf is stored as "." but has no name of its own.
	std::string leaf = fRef.name == "." ? std::string() : fRef.name;
	kit::CopyUtf8(name, B_FILE_NAME_LENGTH - 1, leaf);
	return B_OK;
}

status_t BEntry::GetParent(BEntry* parent) const
{
	if (parent == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (fRef.name == ".")
		return B_ENTRY_NOT_FOUND;
	return parent->SetTo(fRef.directory.c_str());
}

bool BEntry::operator==(const BEntry& other) const
{
	if (fStatus != B_OK || other.fStatus != B_OK)
		return fStatus == other.fStatus;
	return fRef == other.fRef;
}
