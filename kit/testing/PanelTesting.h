// Answers file panels in tests, as a person would in the dialog.
#pragma once

#include <string>
#include <vector>

class BFilePanel;

namespace kit::testing {

// The panels that are shown now, oldest first.
std::vector<BFilePanel*> ShownFilePanels();
// Confirms the panel with these paths: the files to open, or for a save panel one path
// whose folder and leaf name are the answer.
void AnswerFilePanel(BFilePanel* panel, const std::vector<std::string>& paths);
void CancelFilePanel(BFilePanel* panel);
// The folder the panel shows, and the folders in its history.
std::string FilePanelFolder(BFilePanel* panel);
std::vector<std::string> FilePanelHistory(BFilePanel* panel);

} // namespace kit::testing
