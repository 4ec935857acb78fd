// An ordered list of untyped pointers. The list never owns what its items point to.
#pragma once

#include <vector>

#include "SupportDefs.h"

class BList {
public:
	explicit BList(int32 blockSize = 20);

	bool AddItem(void* item);
	bool AddItem(void* item, int32 index);
	void* RemoveItem(int32 index);
	bool RemoveItem(void* item);
	void MakeEmpty();

	void* ItemAt(int32 index) const;
	int32 IndexOf(void* item) const;
	int32 CountItems() const { return int32(fItems.size()); }
	bool IsEmpty() const { return fItems.empty(); }

private:
	std::vector<void*> fItems;
};
