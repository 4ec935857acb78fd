#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "CanvasProbe.h"
#include "FakeTranslator.h"
#include "FilePanel.h"
#include "ImageFixtures.h"
#include "PanelTesting.h"
#include "ProgramHarness.h"
#include "StatusBar.h"
#include "StorageTesting.h"
#include "TempDirectory.h"
#include "dorvaview.h"
#include "exportwindow.h"
#include "output_catalogue.h"

namespace {

const char kTypeAttribute[] = "user.mime_type";

s_xlt* entry(int32 index)
{
	return static_cast<s_xlt*>(xlt.ItemAt(index));
}

// The index of the first catalogue entry with this MIME type, or -1.
int16 format_for(const char* mime)
{
	for (int32 i = 0; i < trc; i++) {
		if (std::strcmp(entry(i)->mime, mime) == 0)
			return int16(i);
	}
	return -1;
}

void send_fiwr(dorvaview* canvas, int16 format)
{
	BMessage message(CMD_FILE_WRITE);
	message.AddInt16("format_no", format);
	BMessenger(canvas).SendMessage(&message);
}

// The file's type attribute: the text, "" when it has none, or "?" when the file system
// keeps no extended attributes.
std::string type_attribute(const std::string& path)
{
	char value[256];
	ssize_t length = getxattr(path.c_str(), kTypeAttribute, value, sizeof(value));
	if (length < 0)
		return errno == ENOTSUP ? "?" : "";
	return std::string(value, size_t(length));
}

bool same_pixels(const BBitmap& a, const BBitmap& b)
{
	if (a.Bounds() != b.Bounds())
		return false;
	int32 width = a.Bounds().IntegerWidth() + 1;
	int32 height = a.Bounds().IntegerHeight() + 1;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			// Blue, green and red; the alpha byte of B_RGB32 is not part of the picture.
			if (std::memcmp(PixelAt(a, x, y), PixelAt(b, x, y), 3) != 0)
				return false;
		}
	}
	return true;
}

class Export : public ::testing::Test {
protected:
	void SetUp() override
	{
		picture = MakePatternBitmap(90, 70).release();
		show_picture(program.Canvas(), picture);
	}

	// Asks for the save panel and answers it with the path, as a person would.
	void ExportThroughPanel(int16 format, const std::string& path)
	{
		send_fiwr(program.Canvas(), format);
		program.Idle();
		auto shown = kit::testing::ShownFilePanels();
		ASSERT_EQ(shown.size(), 1u);
		ASSERT_EQ(shown[0], program.Canvas()->panel);
		kit::testing::AnswerFilePanel(shown[0], {path});
		program.Idle();
	}

	std::unique_ptr<BBitmap> Decode(const std::string& path)
	{
		std::string bytes = ReadWholeFile(path);
		status_t status;
		return DecodeBytes(tr, bytes.data(), bytes.size(), &status);
	}

	ProgramHarness program;
	TempDirectory folder;
	BBitmap* picture = nullptr; // the canvas's
};

TEST_F(Export, IsIgnoredOnAnEmptyCanvasWhileAPanelIsShownAndForUnknownFormats)
{
	dorvaview* canvas = program.Canvas();
	ASSERT_GE(trc, 2);

	// An empty canvas has nothing to export, and the chosen format stays as it was.
	delete canvas->image;
	canvas->image = nullptr;
	canvas->format_no = 0;
	send_fiwr(canvas, 1);
	program.Idle();
	EXPECT_EQ(canvas->panel, nullptr);
	EXPECT_EQ(canvas->format_no, 0);
	EXPECT_TRUE(kit::testing::ShownFilePanels().empty());

	// While the open panel is shown, export waits its turn.
	show_picture(canvas, MakePatternBitmap(20, 20).release());
	BMessenger(canvas).SendMessage(CMD_FILE_OPEN);
	program.Idle();
	BFilePanel* open = canvas->panel;
	ASSERT_NE(open, nullptr);
	send_fiwr(canvas, 1);
	program.Idle();
	EXPECT_EQ(canvas->panel, open);
	EXPECT_EQ(open->PanelMode(), B_OPEN_PANEL);
	EXPECT_EQ(canvas->format_no, 0);
	EXPECT_EQ(kit::testing::ShownFilePanels().size(), 1u);
	kit::testing::CancelFilePanel(open);
	program.Idle();
	ASSERT_EQ(canvas->panel, nullptr);

	// A format the catalogue does not hold, or none at all, shows nothing.
	for (int16 outside : {int16(trc), int16(-1), int16(32767)}) {
		send_fiwr(canvas, outside);
		program.Idle();
		EXPECT_EQ(canvas->panel, nullptr) << outside;
		EXPECT_EQ(canvas->format_no, 0) << outside;
	}
	BMessenger(canvas).SendMessage(CMD_FILE_WRITE);
	BMessage wrongType(CMD_FILE_WRITE);
	wrongType.AddInt32("format_no", 1);
	BMessenger(canvas).SendMessage(&wrongType);
	program.Idle();
	EXPECT_EQ(canvas->panel, nullptr);
	EXPECT_TRUE(kit::testing::ShownFilePanels().empty());
}

TEST_F(Export, ThePanelIsASavePanelTitledWithTheFormatsName)
{
	dorvaview* canvas = program.Canvas();
	for (int16 index : {int16(0), int16(trc - 1)}) {
		send_fiwr(canvas, index);
		program.Idle();
		auto shown = kit::testing::ShownFilePanels();
		ASSERT_EQ(shown.size(), 1u);
		EXPECT_EQ(shown[0]->PanelMode(), B_SAVE_PANEL);
		EXPECT_STREQ(shown[0]->Window()->Title(), entry(index)->name);
		EXPECT_EQ(canvas->format_no, index);

		// A second request while this panel is up changes neither panel nor format.
		send_fiwr(canvas, index == 0 ? 1 : 0);
		program.Idle();
		EXPECT_EQ(kit::testing::ShownFilePanels().size(), 1u);
		EXPECT_EQ(canvas->format_no, index);

		kit::testing::CancelFilePanel(shown[0]);
		program.Idle();
		EXPECT_EQ(canvas->panel, nullptr);
	}
}

TEST_F(Export, WritesThePictureWithoutTheBandStampedWithItsTypeAndLeavesTheCanvasAlone)
{
	dorvaview* canvas = program.Canvas();
	const char* lossless[] = {"image/png", "image/bmp", "image/tiff"};
	for (const char* mime : lossless) {
		SCOPED_TRACE(mime);
		int16 format = format_for(mime);
		ASSERT_GE(format, 0) << "no catalogue entry writes " << mime;

		kit::testing::UpdateView(canvas);
		std::unique_ptr<BBitmap> before(kit::testing::SnapshotView(canvas));
		ASSERT_NE(before, nullptr);
		std::string title = program.Window()->Title();

		std::string path = folder.Child(std::string("out-") + entry(format)->name);
		ExportThroughPanel(format, path);
		EXPECT_EQ(canvas->panel, nullptr);

		// The file holds the picture's own pixels: the calendar band is only on screen.
		std::unique_ptr<BBitmap> written = Decode(path);
		ASSERT_NE(written, nullptr);
		EXPECT_TRUE(same_pixels(*written, *picture));

		std::string stamped = type_attribute(path);
		if (stamped != "?") {
			EXPECT_EQ(stamped, mime);
		}

		// The canvas keeps its picture and shows exactly what it showed.
		EXPECT_EQ(canvas->image, picture);
		EXPECT_EQ(program.Window()->Title(), title);
		kit::testing::UpdateView(canvas);
		std::unique_ptr<BBitmap> after(kit::testing::SnapshotView(canvas));
		ASSERT_NE(after, nullptr);
		ASSERT_EQ(after->BitsLength(), before->BitsLength());
		EXPECT_EQ(std::memcmp(after->Bits(), before->Bits(), size_t(before->BitsLength())), 0);
	}

	// The answered panel is gone, so another export may begin.
	send_fiwr(canvas, 0);
	program.Idle();
	ASSERT_NE(canvas->panel, nullptr);
	EXPECT_EQ(kit::testing::ShownFilePanels().size(), 1u);
	kit::testing::CancelFilePanel(canvas->panel);
	program.Idle();
}

TEST_F(Export, TheTypeAttributeIsWrittenWhereTheFileSystemKeepsOne)
{
	std::string path = folder.Child("typed.png");
	ExportThroughPanel(format_for("image/png"), path);
	std::string stamped = type_attribute(path);
	if (stamped == "?")
		GTEST_SKIP() << "this file system keeps no extended attributes";
	EXPECT_EQ(stamped, "image/png");
}

TEST_F(Export, SavingOverAnExistingFileReplacesIt)
{
	std::string path = folder.WriteFile("again.bmp", "an older file, not a picture at all");
	ExportThroughPanel(format_for("image/bmp"), path);
	std::unique_ptr<BBitmap> written = Decode(path);
	ASSERT_NE(written, nullptr);
	EXPECT_TRUE(same_pixels(*written, *picture));
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"again.bmp"});
}

TEST_F(Export, ASaveWithoutAPlaceToWriteChangesNothing)
{
	dorvaview* canvas = program.Canvas();
	send_fiwr(canvas, format_for("image/png"));
	program.Idle();
	BFilePanel* panel = canvas->panel;
	ASSERT_NE(panel, nullptr);

	entry_ref directory(folder.Path().string(), "");
	BMessage nameOnly(B_SAVE_REQUESTED);
	nameOnly.AddString("name", "lost.png");
	BMessage directoryOnly(B_SAVE_REQUESTED);
	directoryOnly.AddRef("directory", &directory);
	for (BMessage* save : {&nameOnly, &directoryOnly}) {
		BMessenger(canvas).SendMessage(save);
		program.Idle();
	}
	EXPECT_TRUE(folder.Names().empty());
	EXPECT_EQ(canvas->panel, panel);
	EXPECT_EQ(kit::testing::ShownFilePanels().size(), 1u);

	// A name that is no leaf name answers the panel but writes nowhere.
	BMessage climbing(B_SAVE_REQUESTED);
	climbing.AddRef("directory", &directory);
	climbing.AddString("name", "../escaped.png");
	BMessenger(canvas).SendMessage(&climbing);
	program.Idle();
	EXPECT_TRUE(folder.Names().empty());
	EXPECT_FALSE(std::filesystem::exists(folder.Path().parent_path() / "escaped.png"));
	EXPECT_EQ(canvas->image, picture);
	EXPECT_EQ(canvas->panel, nullptr);
}

TEST_F(Export, OtherProgramsSeeTheCatalogueUntilTheWindowFreesIt)
{
	// Asks the canvas through its looper, as the bus endpoint does; the replies are recorded.
	std::vector<BMessage> replies;
	auto ask = [this, &replies] {
		BMessage request(CMD_LIST_FORMATS);
		kit::testing::RecordReplies(
			request, [&replies](const BMessage& reply, BHandler*) { replies.push_back(reply); });
		BMessenger(program.Canvas()).SendMessage(&request);
	};
	ask();
	program.Idle();
	ASSERT_EQ(replies.size(), 1u);
	const BMessage& listed = replies[0];
	EXPECT_EQ(listed.what, B_REPLY);
	type_code type;
	int32 count = -1;
	ASSERT_EQ(listed.GetInfo("index", &type, &count), B_OK);
	ASSERT_EQ(count, trc);
	ASSERT_GT(trc, 0);
	for (int32 i = 0; i < trc; i++) {
		int32 index = -1;
		const char* name = nullptr;
		const char* mime = nullptr;
		EXPECT_EQ(listed.FindInt32("index", i, &index), B_OK);
		EXPECT_EQ(listed.FindString("name", i, &name), B_OK);
		EXPECT_EQ(listed.FindString("mime", i, &mime), B_OK);
		EXPECT_EQ(index, i);
		EXPECT_STREQ(name, entry(i)->name);
		EXPECT_STREQ(mime, entry(i)->mime);
	}
	// Quitting frees the records; a request still on its way must not get them.
	ask();
	ASSERT_TRUE(program.Window()->QuitRequested());
	program.Idle();
	ASSERT_EQ(replies.size(), 2u);
	EXPECT_EQ(replies[1].what, B_REPLY);
	EXPECT_TRUE(replies[1].IsEmpty());
}

// A translator that claims to write "BRKN", writes a little, then fails.
class BreakingTranslator : public FakeTranslator {
public:
	BreakingTranslator()
		: FakeTranslator("breaking", {{kit_code("BRKN"), "Broken format", "image/x-broken"}})
	{
	}

	status_t Translate(
		BPositionIO*, const translator_info*, BMessage*, uint32, BPositionIO* destination) override
	{
		destination->Write("half a picture", 14);
		return B_ERROR;
	}
};

TEST(ExportFailure, AFailedTranslationLeavesTheOldFileAndStampsNothing)
{
	BTranslatorRoster roster;
	roster.AddTranslator(new BreakingTranslator);
	BTranslatorRoster* saved = tr;
	tr = &roster;
	{
		ProgramHarness program;
		ASSERT_EQ(trc, 1);
		TempDirectory folder;
		std::string path = folder.WriteFile("keep.png", "the old contents");
		show_picture(program.Canvas(), MakePatternBitmap(16, 16).release());

		BMessage fiwr(CMD_FILE_WRITE);
		fiwr.AddInt16("format_no", 0);
		BMessenger(program.Canvas()).SendMessage(&fiwr);
		program.Idle();
		ASSERT_NE(program.Canvas()->panel, nullptr);
		kit::testing::AnswerFilePanel(program.Canvas()->panel, {path});
		program.Idle();

		EXPECT_EQ(ReadWholeFile(path), "the old contents");
		EXPECT_NE(type_attribute(path), "image/x-broken");
		EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.png"});
		EXPECT_EQ(program.Canvas()->panel, nullptr);
		ASSERT_NE(program.Canvas()->image, nullptr);
		EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, 15, 15));
	}
	tr = saved;
}

// For real, where the tests do not run as the superuser: a file that may not be written, in a
// folder that may not be written, stays as it was (ReadOnlyFolderExport below sees the
// writable file in such a folder, for the superuser too).
TEST(ExportFailure, AFolderThatCannotBeWrittenLeavesItsFilesAsTheyWere)
{
	if (geteuid() == 0)
		GTEST_SKIP() << "a read-only folder does not stop the superuser";
	ProgramHarness program;
	TempDirectory folder;
	std::string path = folder.WriteFile("keep.png", "the old contents");
	show_picture(program.Canvas(), MakePatternBitmap(16, 16).release());
	chmod(path.c_str(), 0444);
	chmod(folder.Path().c_str(), 0555);

	BMessage fiwr(CMD_FILE_WRITE);
	fiwr.AddInt16("format_no", format_for("image/png"));
	BMessenger(program.Canvas()).SendMessage(&fiwr);
	program.Idle();
	ASSERT_NE(program.Canvas()->panel, nullptr);
	kit::testing::AnswerFilePanel(program.Canvas()->panel, {path});
	program.Idle();
	chmod(folder.Path().c_str(), 0755);
	chmod(path.c_str(), 0644);

	EXPECT_EQ(ReadWholeFile(path), "the old contents");
	EXPECT_EQ(type_attribute(path), "");
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.png"});
}

// The export's progress window, while there is one.
exportwindow* progress_window()
{
	for (int32 i = 0; i < be_app->CountWindows(); i++) {
		if (auto* window = dynamic_cast<exportwindow*>(be_app->WindowAt(i)))
			return window;
	}
	return nullptr;
}

// Answers the save panel for format with the path, and records the answer that the
// "SAVE" gets: the export's result.
void save_through_panel(ProgramHarness& program, int16 format, const std::string& path,
	std::vector<BMessage>* replies = nullptr)
{
	program.Canvas()->format_no = format;
	std::filesystem::path where(path);
	std::filesystem::path folder = where.parent_path();
	entry_ref directory(folder.parent_path().string(), folder.filename().string());
	BMessage save(B_SAVE_REQUESTED);
	save.AddRef("directory", &directory);
	save.AddString("name", where.filename().c_str());
	if (replies != nullptr) {
		kit::testing::RecordReplies(
			save, [replies](const BMessage& reply, BHandler*) { replies->push_back(reply); });
	}
	BMessenger(program.Canvas()).SendMessage(&save);
}

TEST_F(Export, ALargeExportLeavesTheWindowAnsweringWhileItRuns)
{
	// A picture that takes the PNG writer a good while.
	show_picture(program.Canvas(), MakePatternBitmap(3000, 2000).release());
	picture = program.Canvas()->image;
	std::vector<std::string> order;
	kit::testing::SetDispatchObserver([&order](BHandler*, const BMessage& message) {
		if (message.what == B_SAVE_REQUESTED)
			order.push_back("save");
		else if (message.what == CMD_LIST_FORMATS)
			order.push_back("asked");
		else if (message.what == MSG_EXPORT_DONE)
			order.push_back("done");
	});

	std::vector<BMessage> answers;
	std::vector<BMessage> replies;
	std::string path = folder.Child("large.png");
	save_through_panel(program, format_for("image/png"), path, &replies);
	// Another program asks the canvas something right after.
	BMessage question(CMD_LIST_FORMATS);
	kit::testing::RecordReplies(
		question, [&answers](const BMessage& reply, BHandler*) { answers.push_back(reply); });
	BMessenger(program.Canvas()).SendMessage(&question);
	kit::testing::RunLoopersUntilIdle();
	EXPECT_EQ(answers.size(), 1u) << "the canvas did not answer while the export ran";

	program.Idle();
	kit::testing::SetDispatchObserver(nullptr);
	EXPECT_EQ(order, (std::vector<std::string>{"save", "asked", "done"}));
	ASSERT_EQ(replies.size(), 1u);
	int32 status = -1;
	EXPECT_EQ(replies[0].FindInt32("error", &status), B_OK);
	EXPECT_EQ(status, B_OK);
	std::unique_ptr<BBitmap> written = Decode(path);
	ASSERT_NE(written, nullptr);
	EXPECT_TRUE(same_pixels(*written, *picture));
	EXPECT_EQ(progress_window(), nullptr);
}

// A translator that writes "PNG " slowly: it reads half the picture, waits until the test
// lets it go on, then reads the rest and writes a few bytes.
class GatedTranslator : public FakeTranslator {
public:
	GatedTranslator() : FakeTranslator("gated", {{kit_code("PNG "), "Gated", "image/png"}}) {}

	void Open()
	{
		{
			std::lock_guard<std::mutex> lock(fLock);
			fOpen = true;
		}
		fChanged.notify_all();
	}

	status_t Translate(BPositionIO* source, const translator_info*, BMessage*, uint32,
		BPositionIO* destination) override
	{
		off_t size = 0;
		source->GetSize(&size);
		std::vector<char> buffer(size_t(size / 2) + 1);
		source->ReadAt(0, buffer.data(), size_t(size / 2));
		{
			std::unique_lock<std::mutex> lock(fLock);
			fChanged.wait(lock, [this] { return fOpen; });
		}
		source->ReadAt(size / 2, buffer.data(), size_t(size - size / 2));
		return destination->Write("gated picture", 13) == 13 ? B_OK : B_IO_ERROR;
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fOpen = false;
};

// The program with the gated translator as its only one.
class GatedExport : public ::testing::Test {
protected:
	void SetUp() override
	{
		gated = new GatedTranslator;
		roster.AddTranslator(gated);
		saved = tr;
		tr = &roster;
		program = std::make_unique<ProgramHarness>();
		ASSERT_EQ(trc, 1);
		show_picture(program->Canvas(), MakePatternBitmap(64, 48).release());
	}
	void TearDown() override
	{
		gated->Open();
		program.reset();
		tr = saved;
	}

	// Runs the loops until the progress window shows, for at most a few seconds.
	exportwindow* WaitForProgressWindow()
	{
		for (int i = 0; i < 1000; i++) {
			kit::testing::RunLoopersUntilIdle();
			exportwindow* window = progress_window();
			if (window != nullptr && !window->IsHidden() && window->bar->CurrentValue() > 0)
				return window;
			usleep(5000);
		}
		return nullptr;
	}

	BTranslatorRoster roster;
	GatedTranslator* gated = nullptr; // the roster's
	BTranslatorRoster* saved = nullptr;
	std::unique_ptr<ProgramHarness> program;
	TempDirectory folder;
};

TEST_F(GatedExport, ALongExportShowsItsProgressWindowUntilItIsDone)
{
	std::string path = folder.WriteFile("slow.png", "the old contents");
	save_through_panel(*program, 0, path);
	kit::testing::RunLoopersUntilIdle();
	ASSERT_NE(progress_window(), nullptr);
	EXPECT_TRUE(progress_window()->IsHidden()) << "shown before half a second had passed";

	exportwindow* window = WaitForProgressWindow();
	ASSERT_NE(window, nullptr);
	EXPECT_STREQ(window->bar->Label(), "slow.png");
	EXPECT_NEAR(window->bar->CurrentValue(), 50, 1);
	EXPECT_STREQ(window->bar->TrailingText(), "50%");
	// Meanwhile the canvas still answers, and the old file is untouched.
	program->ClearCanvasMessages();
	BMessenger(program->Canvas()).SendMessage(CMD_SET_PRESSED);
	kit::testing::RunLoopersUntilIdle();
	EXPECT_EQ(ReadWholeFile(path), "the old contents");

	gated->Open();
	program->Idle();
	EXPECT_EQ(ReadWholeFile(path), "gated picture");
	EXPECT_EQ(progress_window(), nullptr);
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"slow.png"});
}

TEST_F(GatedExport, QuittingDuringAnExportEndsWithTheCompleteFile)
{
	std::string path = folder.Child("quit.png");
	save_through_panel(*program, 0, path);
	ASSERT_NE(WaitForProgressWindow(), nullptr);

	// "Quit", as the File menu sends it: the program waits, its windows all still there.
	be_app_messenger().SendMessage(B_QUIT_REQUESTED);
	kit::testing::RunLoopersUntilIdle();
	EXPECT_EQ(be_app->CountWindows(), 2);
	EXPECT_NE(progress_window(), nullptr);
	EXPECT_TRUE(folder.Names().empty());

	gated->Open();
	program->Idle();
	EXPECT_EQ(ReadWholeFile(path), "gated picture");
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"quit.png"});
	// Then the program quit as it always does.
	EXPECT_EQ(be_app->CountWindows(), 0);
}

// A folder that takes no temporary file (the superuser's tests see one through the hook).
class ReadOnlyFolderExport : public Export {
protected:
	void SetUp() override
	{
		Export::SetUp();
		kit::testing::RefuseTemporaryFiles(true);
	}
	void TearDown() override { kit::testing::RefuseTemporaryFiles(false); }
};

TEST_F(ReadOnlyFolderExport, AWritableFileIsWrittenInPlaceAndAMissingOneIsReported)
{
	std::string path = folder.WriteFile("there.png", "the old contents");
	std::vector<BMessage> replies;
	save_through_panel(program, format_for("image/png"), path, &replies);
	program.Idle();
	std::unique_ptr<BBitmap> written = Decode(path);
	ASSERT_NE(written, nullptr);
	EXPECT_TRUE(same_pixels(*written, *picture));
	std::string stamped = type_attribute(path);
	if (stamped != "?") {
		EXPECT_EQ(stamped, "image/png");
	}

	// A new file cannot be made there: nothing appears, and the sender hears why.
	save_through_panel(program, format_for("image/png"), folder.Child("new.png"), &replies);
	program.Idle();
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"there.png"});
	ASSERT_EQ(replies.size(), 2u);
	int32 first = -1, second = -1;
	replies[0].FindInt32("error", &first);
	replies[1].FindInt32("error", &second);
	EXPECT_EQ(first, B_OK);
	EXPECT_EQ(second, B_PERMISSION_DENIED);
}

} // namespace
