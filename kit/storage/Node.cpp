#include "Node.h"

BNode::BNode() : fInitStatus(B_NO_INIT)
{
}

BNode::~BNode() = default;

void BNode::Unset()
{
	fInitStatus = B_NO_INIT;
}

int BNode::_Descriptor() const
{
	return -1;
}
