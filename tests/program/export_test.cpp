#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CanvasProbe.h"
#include "FakeTranslator.h"
#include "FilePanel.h"
#include "ImageFixtures.h"
#include "PanelTesting.h"
#include "ProgramHarness.h"
#include "StorageTesting.h"
#include "TempDirectory.h"
#include "application_codes.h"
#include "canvas_codes.h"
#include "dorvaview.h"
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
	EXPECT_TRUE(kit::testing::ShownFilePanels().empty());
}

TEST_F(Export, ARequestWithoutAFormatShowsThePanelForTheFormatChosenLast)
{
	dorvaview* canvas = program.Canvas();
	ASSERT_GE(trc, 2);
	canvas->format_no = 1;
	BMessage bare(CMD_FILE_WRITE);
	BMessage wrongType(CMD_FILE_WRITE);
	wrongType.AddInt32("format_no", 0);
	for (BMessage* request : {&bare, &wrongType}) {
		BMessenger(canvas).SendMessage(request);
		program.Idle();
		auto shown = kit::testing::ShownFilePanels();
		ASSERT_EQ(shown.size(), 1u);
		EXPECT_STREQ(shown[0]->Window()->Title(), entry(1)->name);
		EXPECT_EQ(canvas->format_no, 1);
		kit::testing::CancelFilePanel(shown[0]);
		program.Idle();
	}
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
	// The application answers, as the bus endpoint hands the request to it; the canvas
	// leaves the code to its base class. The replies are recorded.
	std::vector<BMessage> replies;
	auto ask = [&replies](BHandler* whom) {
		BMessage request(CMD_LIST_FORMATS);
		kit::testing::RecordReplies(
			request, [&replies](const BMessage& reply, BHandler*) { replies.push_back(reply); });
		BMessenger(whom).SendMessage(&request);
	};
	ask(program.Canvas());
	program.Idle();
	EXPECT_TRUE(replies.empty()) << "the canvas answered the request for the catalogue";
	ask(be_app);
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
	ask(be_app);
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

TEST_F(Export, TheFileIsCompleteAndStampedWhenTheSaveReturnsAndTheWindowStaysAlone)
{
	// A picture that takes the PNG writer a while.
	show_picture(program.Canvas(), MakePatternBitmap(1500, 1000).release());
	picture = program.Canvas()->image;
	program.Canvas()->format_no = format_for("image/png");
	entry_ref directory(folder.Path().parent_path().string(), folder.Path().filename().string());
	const std::string path = folder.Child("now.png");

	ASSERT_EQ(program.Canvas()->save(directory, "now.png"), B_OK);
	// Nothing is left to run: the file is there, whole and stamped, and nothing else is.
	EXPECT_EQ(folder.Names(), std::vector<std::string>{"now.png"});
	std::unique_ptr<BBitmap> written = Decode(path);
	ASSERT_NE(written, nullptr);
	EXPECT_TRUE(same_pixels(*written, *picture));
	std::string stamped = type_attribute(path);
	if (stamped != "?") {
		EXPECT_EQ(stamped, "image/png");
	}
	EXPECT_EQ(program.Canvas()->image, picture);
	EXPECT_EQ(be_app->CountWindows(), 1);

	// Through the message, closed right after: the file holds the picture that was shown.
	const BBitmap shown(*picture);
	std::vector<BMessage> replies;
	save_through_panel(program, format_for("image/bmp"), folder.Child("then.bmp"), &replies);
	BMessenger(program.Canvas()).SendMessage(CMD_FILE_CLOSE);
	program.Idle();
	EXPECT_EQ(program.Canvas()->image, nullptr);
	written = Decode(folder.Child("then.bmp"));
	ASSERT_NE(written, nullptr);
	EXPECT_TRUE(same_pixels(*written, shown));
	ASSERT_EQ(replies.size(), 1u);
	int32 status = -1;
	EXPECT_EQ(replies[0].FindInt32("error", &status), B_OK);
	EXPECT_EQ(status, B_OK);
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
