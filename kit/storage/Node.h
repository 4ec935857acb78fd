// The common base of the things that open a file system node (BFile, BDirectory).
#pragma once

#include "StorageDefs.h"

class BNode {
public:
	BNode();
	BNode(const BNode&) = delete;
	BNode& operator=(const BNode&) = delete;
	virtual ~BNode();

	// B_OK while the object refers to a node; B_NO_INIT before it is set or after Unset().
	status_t InitCheck() const { return fInitStatus; }
	virtual void Unset();

protected:
	status_t fInitStatus;

private:
	friend class BAppFileInfo;
	// The open descriptor of the node, or -1 when it has none.
	virtual int _Descriptor() const;
};
