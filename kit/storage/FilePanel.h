// A file panel: the platform's dialog for choosing files to open or a place to save.
// Panels are never modal here. Their answers go to the target messenger (the application
// when none is given): B_REFS_RECEIVED with "refs" for an open panel, B_SAVE_REQUESTED with
// "directory" and "name" for a save panel, and then B_CANCEL whenever the panel closes,
// confirmed or not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EntryRef.h"
#include "Messenger.h"
#include "StorageDefs.h"

enum file_panel_mode {
	B_OPEN_PANEL,
	B_SAVE_PANEL,
};

class BRefFilter;
class BFilePanel;

namespace kit {
class FilePanelAccess;
class FilePanelBridge;
} // namespace kit

// The panel's window, as far as a program may change it.
class BFilePanelWindow {
public:
	void SetTitle(const char* title);
	const char* Title() const { return fTitle.c_str(); }

private:
	friend class BFilePanel;
	friend class kit::FilePanelBridge;
	explicit BFilePanelWindow(kit::FilePanelBridge* bridge) : fBridge(bridge) {}

	kit::FilePanelBridge* fBridge;
	std::string fTitle;
};

class BFilePanel {
public:
	BFilePanel(file_panel_mode mode = B_OPEN_PANEL, BMessenger* target = nullptr,
		const entry_ref* directory = nullptr, uint32 nodeFlavors = 0,
		bool allowMultipleSelection = true, BMessage* message = nullptr,
		BRefFilter* filter = nullptr, bool modal = false, bool hideWhenDone = true);
	virtual ~BFilePanel();

	void Show();
	void Hide();
	bool IsShowing() const;
	BFilePanelWindow* Window() { return &fWindow; }
	file_panel_mode PanelMode() const { return fMode; }

private:
	friend class kit::FilePanelAccess;
	friend class kit::FilePanelBridge;

	file_panel_mode fMode;
	BMessenger fTarget;
	bool fMultiple;
	uint32 fNodeFlavors;
	std::unique_ptr<BMessage> fMessage;
	kit::FilePanelBridge* fBridge;
	BFilePanelWindow fWindow;
};
