#include "List.h"

#include <algorithm>

BList::BList(int32 blockSize)
{
	fItems.reserve(blockSize > 0 ? size_t(blockSize) : 0);
}

bool BList::AddItem(void* item)
{
	fItems.push_back(item);
	return true;
}

bool BList::AddItem(void* item, int32 index)
{
	if (index < 0 || index > CountItems())
		return false;
	fItems.insert(fItems.begin() + index, item);
	return true;
}

void* BList::RemoveItem(int32 index)
{
	if (index < 0 || index >= CountItems())
		return nullptr;
	void* item = fItems[index];
	fItems.erase(fItems.begin() + index);
	return item;
}

bool BList::RemoveItem(void* item)
{
	// The index decides, not the removed value: a null item can be listed and removed too.
	int32 index = IndexOf(item);
	if (index < 0)
		return false;
	RemoveItem(index);
	return true;
}

void BList::MakeEmpty()
{
	fItems.clear();
}

void* BList::ItemAt(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return nullptr;
	return fItems[index];
}

int32 BList::IndexOf(void* item) const
{
	auto found = std::find(fItems.begin(), fItems.end(), item);
	return found == fItems.end() ? -1 : int32(found - fItems.begin());
}
