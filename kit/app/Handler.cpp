#include "Handler.h"

#include <unordered_map>

#include "HandlerRegistry.h"
#include "Looper.h"

namespace kit {

namespace {
std::unordered_map<int32, BHandler*>& registry()
{
	static std::unordered_map<int32, BHandler*> handlers;
	return handlers;
}
int32 gNextToken = 1;
} // namespace

int32 RegisterHandler(BHandler* handler)
{
	int32 token = gNextToken++;
	registry()[token] = handler;
	return token;
}

void UnregisterHandler(int32 token)
{
	registry().erase(token);
}

BHandler* LookUpHandler(int32 token)
{
	auto found = registry().find(token);
	return found == registry().end() ? nullptr : found->second;
}

} // namespace kit

BHandler::BHandler(const char* name)
	: fName(name ? name : ""), fLooper(nullptr), fToken(kit::RegisterHandler(this))
{
}

BHandler::~BHandler()
{
	if (fLooper != nullptr && fLooper != this)
		fLooper->RemoveHandler(this);
	kit::UnregisterHandler(fToken);
}

void BHandler::MessageReceived(BMessage*)
{
	// A message that nobody handles is dropped: senders never wait for an answer here.
}
