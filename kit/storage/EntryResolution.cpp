#include "EntryResolution.h"

#include <cstring>

#include <QDir>
#include <QFileInfo>

namespace kit {

namespace {

// Enough for any sane chain of links; a longer chain is taken as a loop.
const int kMaxLinkHops = 16;

std::string from_qstring(const QString& text)
{
	return QFile::encodeName(text).toStdString();
}

QString to_qstring(const std::string& text)
{
	return QFile::decodeName(QByteArray::fromStdString(text));
}

std::string make_absolute(const std::string& path)
{
	if (!path.empty() && path.front() == '/')
		return path;
	std::string base = from_qstring(QDir::currentPath());
	if (base.empty() || base.back() != '/')
		base += '/';
	return base + path;
}

status_t resolve_once(const std::string& path, entry_ref* ref)
{
	std::string absolute = make_absolute(path);
	while (absolute.size() > 1 && absolute.back() == '/')
		absolute.pop_back();
	if (absolute == "/") {
		*ref = entry_ref("/", ".");
		return B_OK;
	}

	size_t slash = absolute.rfind('/');
	std::string parent = slash == 0 ? std::string("/") : absolute.substr(0, slash);
	std::string leaf = absolute.substr(slash + 1);

	if (leaf == "." || leaf == "..") {
		// The entry is a directory reached through the path itself, so the whole path has
		// to exist; its canonical form no longer ends in a dot.
		QString canonical = QFileInfo(to_qstring(absolute)).canonicalFilePath();
		if (canonical.isEmpty())
			return B_ENTRY_NOT_FOUND;
		return resolve_once(from_qstring(canonical), ref);
	}
	if (leaf.size() >= B_FILE_NAME_LENGTH)
		return B_BAD_VALUE;

	QFileInfo parentInfo(to_qstring(parent));
	QString canonicalParent = parentInfo.canonicalFilePath();
	if (canonicalParent.isEmpty())
		return B_ENTRY_NOT_FOUND;
	if (!parentInfo.isDir())
		return B_NOT_A_DIRECTORY;
	*ref = entry_ref(from_qstring(canonicalParent), leaf);
	return B_OK;
}

} // namespace

status_t ResolveEntry(const std::string& path, bool traverse, entry_ref* ref)
{
	if (path.empty() || ref == nullptr)
		return B_BAD_VALUE;
	entry_ref resolved;
	status_t status = resolve_once(path, &resolved);
	if (status != B_OK)
		return status;

	for (int hops = 0; traverse; hops++) {
		QFileInfo info(to_qstring(resolved.Path()));
		if (!info.isSymLink())
			break;
		if (hops == kMaxLinkHops)
			return B_ENTRY_NOT_FOUND;
		// The target comes back absolute, resolved against the link's own directory, even
		// when the link dangles; the resolved target then is an entry that does not exist.
		QString target = info.symLinkTarget();
		if (target.isEmpty())
			return B_ENTRY_NOT_FOUND;
		status = resolve_once(from_qstring(target), &resolved);
		if (status != B_OK)
			return status;
	}
	*ref = resolved;
	return B_OK;
}

bool IsValidLeafName(const char* leaf)
{
	if (leaf == nullptr || leaf[0] == '\0')
		return false;
	if (std::strcmp(leaf, ".") == 0 || std::strcmp(leaf, "..") == 0)
		return false;
	return std::strchr(leaf, '/') == nullptr && std::strlen(leaf) < B_FILE_NAME_LENGTH;
}

int32 NodeFlavorAt(const std::string& path)
{
	QFileInfo info(to_qstring(path));
	if (info.isSymLink())
		return B_SYMLINK_NODE;
	if (!info.exists())
		return 0;
	return info.isDir() ? B_DIRECTORY_NODE : B_FILE_NODE;
}

} // namespace kit
