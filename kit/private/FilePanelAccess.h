// Kit-internal access to file panels, for the kit's testing code: which panels are shown,
// and a panel's ending as its dialog ends it.
#pragma once

#include <string>
#include <vector>

class BFilePanel;

namespace kit {

class FilePanelAccess {
public:
	// The panels that are shown now, oldest first.
	static std::vector<BFilePanel*> ShownPanels();
	// Ends the panel as the user does in its dialog: confirmed with these paths (the files
	// to open, or for a save panel the one path whose folder and leaf name are the answer),
	// or cancelled.
	static void Finish(BFilePanel* panel, bool accepted, const std::vector<std::string>& paths);
	// The folder the panel shows, and the folders in its history.
	static std::string Directory(BFilePanel* panel);
	static std::vector<std::string> History(BFilePanel* panel);
};

} // namespace kit
