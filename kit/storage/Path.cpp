#include "Path.h"

#include "Entry.h"
#include "EntryResolution.h"

namespace {

// True when the absolute path can be used as it stands: no empty, "." or ".." component.
bool is_plain_absolute(const std::string& path)
{
	if (path.empty() || path.front() != '/')
		return false;
	size_t start = 1;
	while (start <= path.size()) {
		size_t end = path.find('/', start);
		if (end == std::string::npos)
			end = path.size();
		std::string component = path.substr(start, end - start);
		bool last = end == path.size();
		if ((component.empty() && !(last && path.size() == 1)) || component == "."
			|| component == "..")
			return false;
		start = end + 1;
	}
	return true;
}

} // namespace

BPath::BPath() : fStatus(B_NO_INIT)
{
}

BPath::BPath(const char* path, const char* leaf, bool normalize) : fStatus(B_NO_INIT)
{
	SetTo(path, leaf, normalize);
}

BPath::BPath(const entry_ref* ref) : fStatus(B_NO_INIT)
{
	SetTo(ref);
}

BPath::BPath(const BEntry* entry) : fStatus(B_NO_INIT)
{
	SetTo(entry);
}

BPath::~BPath() = default;

status_t BPath::SetTo(const char* path, const char* leaf, bool normalize)
{
	if (path == nullptr || path[0] == '\0' || (leaf != nullptr && leaf[0] == '/')) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	std::string full(path);
	if (leaf != nullptr && leaf[0] != '\0') {
		if (full.back() != '/')
			full += '/';
		full += leaf;
	}
	// A trailing slash adds nothing to a path; dropping it keeps the path plain.
	while (full.size() > 1 && full.back() == '/')
		full.pop_back();

	if (!normalize && is_plain_absolute(full)) {
		fPath = full;
		return fStatus = B_OK;
	}
	entry_ref ref;
	status_t status = kit::ResolveEntry(full, false, &ref);
	if (status != B_OK) {
		Unset();
		return fStatus = status;
	}
	fPath = ref.Path();
	return fStatus = B_OK;
}

status_t BPath::SetTo(const entry_ref* ref)
{
	if (ref == nullptr || !ref->IsSet()) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	return SetTo(ref->Path().c_str());
}

status_t BPath::SetTo(const BEntry* entry)
{
	entry_ref ref;
	status_t status = entry == nullptr ? B_BAD_VALUE : entry->GetRef(&ref);
	if (status != B_OK) {
		Unset();
		return fStatus = status;
	}
	return SetTo(&ref);
}

void BPath::Unset()
{
	fPath.clear();
	fStatus = B_NO_INIT;
}

const char* BPath::Path() const
{
	return fStatus == B_OK ? fPath.c_str() : nullptr;
}

const char* BPath::Leaf() const
{
	if (fStatus != B_OK)
		return nullptr;
	return fPath.c_str() + fPath.rfind('/') + 1;
}

status_t BPath::GetParent(BPath* parent) const
{
	if (parent == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (fPath == "/")
		return B_ENTRY_NOT_FOUND;
	size_t slash = fPath.rfind('/');
	return parent->SetTo(slash == 0 ? "/" : fPath.substr(0, slash).c_str());
}

status_t BPath::Append(const char* leaf, bool normalize)
{
	if (fStatus != B_OK)
		return fStatus;
	// Copy first: SetTo overwrites the path it reads from.
	std::string base = fPath;
	return SetTo(base.c_str(), leaf, normalize);
}

bool BPath::operator==(const BPath& other) const
{
	if (fStatus != B_OK || other.fStatus != B_OK)
		return fStatus == other.fStatus;
	return fPath == other.fPath;
}
