// A handler receives messages in its looper's thread of control.
#pragma once

#include <string>

#include "SupportDefs.h"

class BLooper;
class BMessage;

class BHandler {
public:
	explicit BHandler(const char* name = nullptr);
	virtual ~BHandler();

	virtual void MessageReceived(BMessage* message);

	BLooper* Looper() const { return fLooper; }
	const char* Name() const { return fName.c_str(); }
	void SetName(const char* name) { fName = name ? name : ""; }

	// A number that names this handler for as long as it lives; never reused.
	int32 Token() const { return fToken; }

private:
	friend class BLooper;

	std::string fName;
	BLooper* fLooper;
	int32 fToken;
};
