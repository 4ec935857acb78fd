#include "PanelTesting.h"

#include "FilePanelAccess.h"

namespace kit::testing {

std::vector<BFilePanel*> ShownFilePanels()
{
	return FilePanelAccess::ShownPanels();
}

void AnswerFilePanel(BFilePanel* panel, const std::vector<std::string>& paths)
{
	FilePanelAccess::Finish(panel, true, paths);
}

void CancelFilePanel(BFilePanel* panel)
{
	FilePanelAccess::Finish(panel, false, {});
}

std::string FilePanelFolder(BFilePanel* panel)
{
	return FilePanelAccess::Directory(panel);
}

std::vector<std::string> FilePanelHistory(BFilePanel* panel)
{
	return FilePanelAccess::History(panel);
}

} // namespace kit::testing
