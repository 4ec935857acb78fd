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

} // namespace kit::testing
