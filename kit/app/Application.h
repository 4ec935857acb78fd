// The application object: the program's first looper. Run() runs the event loop until the
// application quits; quitting asks every window through its QuitRequested() first.
#pragma once

#include <string>
#include <vector>

#include "Looper.h"
#include "Messenger.h"
#include "Roster.h"

class BWindow;

typedef int32 thread_id_t;

class BApplication : public BLooper {
public:
	explicit BApplication(const char* signature);
	~BApplication() override;

	// Runs the loop; returns the looper's thread id (here always 0) once it quits.
	virtual thread_id_t Run();
	void Quit() override;
	bool QuitRequested() override;

	void DispatchMessage(BMessage* message, BHandler* handler) override;
	void MessageReceived(BMessage* message) override;

	virtual void ReadyToRun();
	virtual void RefsReceived(BMessage* message);
	virtual void AboutRequested();
	virtual void ArgvReceived(int32 argc, char** argv);

	status_t GetAppInfo(app_info* info) const;
	const char* Signature() const { return fSignature.c_str(); }

	int32 CountWindows() const;
	BWindow* WindowAt(int32 index) const;

	bool IsRunning() const { return fRunning; }

	// Lets other programs of the user's session send messages to handler over the session
	// bus, under a name made from the signature (MessageEndpoint.h, BusProtocol.h); the
	// handler answers those that ask for a reply with BMessage::SendReply(). B_OK once
	// published; without a session bus, or with the name taken, the application runs on
	// without it. The application keeps the endpoint until it is destroyed. Messages whose
	// code is among applicationCodes, and B_QUIT_REQUESTED, go to the application instead.
	status_t PublishMessageTarget(
		BHandler* handler, const std::vector<uint32>& applicationCodes = {});

private:
	// Asks every window, then quits, unless a window refuses.
	void _RunQuitSequence();

	std::string fSignature;
	bool fRunning;
	bool fQuitSequenceRunning;
	struct Private;
	Private* fPrivate;
};

// The application object, while one exists.
extern BApplication* be_app;
// A messenger to be_app.
BMessenger be_app_messenger();
