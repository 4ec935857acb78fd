#include "FilePanel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <vector>

#include "Application.h"
#include "FilePanelAccess.h"
#include "QtApplication.h"

namespace kit {

static std::vector<BFilePanel*>& shown_panels()
{
	static std::vector<BFilePanel*> panels;
	return panels;
}

static entry_ref ref_for_path(const QString& path)
{
	QFileInfo info(path);
	QString directory = info.absolutePath();
	return entry_ref(directory.toStdString(), info.fileName().toStdString());
}

class FilePanelBridge {
public:
	explicit FilePanelBridge(BFilePanel* panel) : fPanel(panel)
	{
		EnsureQtApplication();
		fDialog = new QFileDialog();
		fDialog->setModal(false);
		fDialog->setWindowModality(Qt::NonModal);
		if (panel->fMode == B_SAVE_PANEL) {
			fDialog->setAcceptMode(QFileDialog::AcceptSave);
			fDialog->setFileMode(QFileDialog::AnyFile);
		} else {
			fDialog->setAcceptMode(QFileDialog::AcceptOpen);
			if (panel->fNodeFlavors & B_DIRECTORY_NODE)
				fDialog->setFileMode(QFileDialog::Directory);
			else
				fDialog->setFileMode(
					panel->fMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
		}
		QObject::connect(fDialog, &QDialog::finished, fDialog,
			[this](int result) { Finish(result == QDialog::Accepted, fDialog->selectedFiles()); });
	}

	~FilePanelBridge()
	{
		_Forget();
		delete fDialog.data();
	}

	void Show()
	{
		auto& panels = shown_panels();
		if (std::find(panels.begin(), panels.end(), fPanel) == panels.end())
			panels.push_back(fPanel);
		fDialog->show();
		fDialog->raise();
	}

	void Hide()
	{
		_Forget();
		if (fDialog)
			fDialog->hide();
	}

	bool IsShowing() const { return fDialog && fDialog->isVisible(); }

	// Shows the folder; the panel starts afresh there, with no folders visited by an
	// earlier one in its history.
	void SetDirectory(const QString& path)
	{
		if (!fDialog)
			return;
		fDialog->setDirectory(path);
		fDialog->setHistory({});
	}

	QString Directory() const { return fDialog ? fDialog->directory().absolutePath() : QString(); }
	QStringList History() const { return fDialog ? fDialog->history() : QStringList(); }

	void SetTitle(const QString& title)
	{
		if (fDialog)
			fDialog->setWindowTitle(title);
	}

	// The panel's answer, then its closing, go to the target in that order.
	void Finish(bool accepted, const QStringList& files)
	{
		BMessenger target = fPanel->fTarget.IsValid() ? fPanel->fTarget : be_app_messenger();
		if (accepted && !files.isEmpty()) {
			if (fPanel->fMode == B_SAVE_PANEL) {
				BMessage save(B_SAVE_REQUESTED);
				QFileInfo info(files.first());
				entry_ref directory = ref_for_path(info.absolutePath());
				save.AddRef("directory", &directory);
				save.AddString("name", info.fileName().toStdString());
				target.SendMessage(&save);
			} else {
				BMessage refs(fPanel->fMessage ? *fPanel->fMessage : BMessage(B_REFS_RECEIVED));
				for (const QString& file : files) {
					entry_ref ref = ref_for_path(file);
					refs.AddRef("refs", &ref);
				}
				target.SendMessage(&refs);
			}
		}
		Hide();
		target.SendMessage(B_CANCEL);
	}

private:
	void _Forget()
	{
		auto& panels = shown_panels();
		panels.erase(std::remove(panels.begin(), panels.end(), fPanel), panels.end());
	}

	BFilePanel* fPanel;
	QPointer<QFileDialog> fDialog;
};

} // namespace kit

void BFilePanelWindow::SetTitle(const char* title)
{
	fTitle = title ? title : "";
	fBridge->SetTitle(QString::fromUtf8(fTitle.c_str()));
}

BFilePanel::BFilePanel(file_panel_mode mode, BMessenger* target, const entry_ref* directory,
	uint32 nodeFlavors, bool allowMultipleSelection, BMessage* message, BRefFilter*, bool, bool)
	: fMode(mode), fTarget(target ? *target : BMessenger()), fMultiple(allowMultipleSelection),
	  fNodeFlavors(nodeFlavors), fMessage(message), fBridge(nullptr), fWindow(nullptr)
{
	fBridge = new kit::FilePanelBridge(this);
	fWindow.fBridge = fBridge;
	// Without a folder given, the panel starts in the current directory, not where an
	// earlier panel was left.
	if (directory != nullptr && directory->IsSet())
		fBridge->SetDirectory(QString::fromStdString(directory->Path()));
	else
		fBridge->SetDirectory(QDir::currentPath());
}

BFilePanel::~BFilePanel()
{
	delete fBridge;
}

void BFilePanel::Show()
{
	fBridge->Show();
}

void BFilePanel::Hide()
{
	fBridge->Hide();
}

bool BFilePanel::IsShowing() const
{
	return fBridge->IsShowing();
}

std::vector<BFilePanel*> kit::FilePanelAccess::ShownPanels()
{
	return shown_panels();
}

std::string kit::FilePanelAccess::Directory(BFilePanel* panel)
{
	return panel->fBridge->Directory().toStdString();
}

std::vector<std::string> kit::FilePanelAccess::History(BFilePanel* panel)
{
	std::vector<std::string> folders;
	for (const QString& folder : panel->fBridge->History())
		folders.push_back(folder.toStdString());
	return folders;
}

void kit::FilePanelAccess::Finish(
	BFilePanel* panel, bool accepted, const std::vector<std::string>& paths)
{
	QStringList files;
	for (const std::string& path : paths)
		files << QString::fromStdString(path);
	panel->fBridge->Finish(accepted, files);
}
