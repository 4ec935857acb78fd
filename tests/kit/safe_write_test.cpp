// BDirectory::CreateFile makes safe-write files: nothing on disk changes before Commit(),
// also where the folder takes no temporary file and the file is written in place.
// BAppFileInfo stamps such files with their MIME type.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "AppFileInfo.h"
#include "Directory.h"
#include "File.h"
#include "SmallDisk.h"
#include "StorageTesting.h"
#include "TempDirectory.h"

namespace {

status_t CreateIn(
	const TempDirectory& dir, const char* leaf, BFile* file, bool failIfExists = false)
{
	entry_ref ref = entry_ref(dir.Path().parent_path().string(), dir.Path().filename().string());
	BDirectory directory(&ref);
	EXPECT_EQ(directory.InitCheck(), B_OK);
	return directory.CreateFile(leaf, file, failIfExists);
}

status_t CreateAt(const std::string& folder, const char* leaf, BFile* file)
{
	return BDirectory(folder.c_str()).CreateFile(leaf, file);
}

// A limit on the size of the files the process writes (RLIMIT_FSIZE), with SIGXFSZ
// ignored, so that a write past it fails with EFBIG instead of ending the process.
class FileSizeLimit {
public:
	explicit FileSizeLimit(rlim_t bytes)
	{
		getrlimit(RLIMIT_FSIZE, &fFormer);
		fHandler = std::signal(SIGXFSZ, SIG_IGN);
		struct rlimit limit = {bytes, fFormer.rlim_max};
		setrlimit(RLIMIT_FSIZE, &limit);
	}
	~FileSizeLimit()
	{
		setrlimit(RLIMIT_FSIZE, &fFormer);
		std::signal(SIGXFSZ, fHandler);
	}

private:
	struct rlimit fFormer;
	sighandler_t fHandler;
};

// Old and new contents of the tests below: the new one too large for the limits they set.
const std::string kOld = std::string(8 * 1024, 'o') + "end of the old picture";
const std::string kNew(64 * 1024, 'n');

} // namespace

TEST(SafeWrite, ExistingFileSurvivesUntilCommit)
{
	TempDirectory dir;
	std::string target = dir.WriteFile("picture.png", "precious");
	{
		BFile file;
		ASSERT_EQ(CreateIn(dir, "picture.png", &file), B_OK);
		EXPECT_TRUE(file.IsSafeWrite());
		EXPECT_EQ(file.Write("new data", 8), 8);
		EXPECT_EQ(ReadWholeFile(target), "precious");
	} // destroyed without Commit()
	EXPECT_EQ(ReadWholeFile(target), "precious");
	EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"}); // no leftovers

	BFile file;
	ASSERT_EQ(CreateIn(dir, "picture.png", &file), B_OK);
	EXPECT_EQ(file.Write("half", 4), 4);
	file.Unset();
	EXPECT_EQ(ReadWholeFile(target), "precious");
	EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"});
}

TEST(SafeWrite, CommitReplacesTheFileWhole)
{
	TempDirectory dir;
	std::string target = dir.WriteFile("picture.png", "a much longer old content");
	BFile file;
	ASSERT_EQ(CreateIn(dir, "picture.png", &file), B_OK);
	EXPECT_EQ(file.Write("new", 3), 3);
	EXPECT_EQ(file.WriteAt(3, "!", 1), 1);
	off_t size = 0;
	ASSERT_EQ(file.GetSize(&size), B_OK);
	EXPECT_EQ(size, 4);
	char buffer[4];
	EXPECT_LT(file.ReadAt(0, buffer, 4), 0); // reading back is not offered
	ASSERT_EQ(file.Commit(), B_OK);
	EXPECT_EQ(file.InitCheck(), B_NO_INIT);
	EXPECT_EQ(ReadWholeFile(target), "new!");
	EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"});
}

TEST(SafeWrite, NewFileAppearsOnlyOnCommit)
{
	TempDirectory dir;
	BFile file;
	ASSERT_EQ(CreateIn(dir, "fresh.jpg", &file, true), B_OK);
	EXPECT_EQ(file.Write("jpeg", 4), 4);
	EXPECT_FALSE(std::filesystem::exists(dir.Path() / "fresh.jpg"));
	ASSERT_EQ(file.Commit(), B_OK);
	EXPECT_EQ(ReadWholeFile(dir.Child("fresh.jpg")), "jpeg");
}

TEST(SafeWrite, RefusedNames)
{
	TempDirectory dir;
	dir.WriteFile("taken", "x");
	std::filesystem::create_directory(dir.Path() / "folder");
	BFile file;
	for (const char* leaf : {"", ".", "..", "a/b", "/abs"})
		EXPECT_EQ(CreateIn(dir, leaf, &file), B_BAD_VALUE) << leaf;
	EXPECT_EQ(CreateIn(dir, nullptr, &file), B_BAD_VALUE);
	EXPECT_EQ(CreateIn(dir, std::string(300, 'n').c_str(), &file), B_BAD_VALUE);
	EXPECT_EQ(CreateIn(dir, "taken", &file, true), B_FILE_EXISTS);
	EXPECT_EQ(CreateIn(dir, "folder", &file), B_IS_A_DIRECTORY);
	EXPECT_NE(file.InitCheck(), B_OK);

	BDirectory missing(dir.Child("gone").c_str());
	EXPECT_NE(missing.CreateFile("x", &file), B_OK);
	EXPECT_EQ(ReadWholeFile(dir.Child("taken")), "x");
}

TEST(SafeWrite, WithoutAFileOnlyAMissingFileIsMade)
{
	TempDirectory dir;
	dir.WriteFile("kept", "content");
	EXPECT_EQ(CreateIn(dir, "kept", nullptr), B_OK);
	EXPECT_EQ(ReadWholeFile(dir.Child("kept")), "content");
	EXPECT_EQ(CreateIn(dir, "empty", nullptr), B_OK);
	EXPECT_TRUE(std::filesystem::exists(dir.Path() / "empty"));
}

TEST(AppFileInfo, TypeTravelsWithTheCommittedFile)
{
	TempDirectory dir;
	dir.WriteFile("out.png", "old");
	BFile file;
	ASSERT_EQ(CreateIn(dir, "out.png", &file), B_OK);
	file.Write("png bytes", 9);
	BAppFileInfo info(&file);
	ASSERT_EQ(info.InitCheck(), B_OK);
	status_t status = info.SetType("image/png");
	if (status == B_UNSUPPORTED)
		GTEST_SKIP() << "this file system keeps no extended attributes";
	ASSERT_EQ(status, B_OK);
	char type[B_MIME_TYPE_LENGTH] = {};
	ASSERT_EQ(info.GetType(type), B_OK);
	EXPECT_STREQ(type, "image/png");
	ASSERT_EQ(file.Commit(), B_OK);

	char raw[64] = {};
	ssize_t length = getxattr(dir.Child("out.png").c_str(), "user.mime_type", raw, sizeof(raw));
	ASSERT_EQ(length, 9);
	EXPECT_EQ(std::string(raw, 9), "image/png");

	BFile reopened(dir.Child("out.png").c_str(), B_READ_ONLY);
	BAppFileInfo again(&reopened);
	std::memset(type, 0, sizeof(type));
	ASSERT_EQ(again.GetType(type), B_OK);
	EXPECT_STREQ(type, "image/png");
}

TEST(AppFileInfo, RefusesBadTypesAndFiles)
{
	TempDirectory dir;
	std::string path = dir.WriteFile("plain", "x");
	BFile file(path.c_str(), B_READ_WRITE);
	BAppFileInfo info(&file);
	for (const char* bad : {"", "image", "image/", "/png", "image/p ng", "a/b/c"})
		EXPECT_EQ(info.SetType(bad), B_BAD_VALUE) << bad;
	EXPECT_EQ(info.SetType(nullptr), B_BAD_VALUE);
	EXPECT_EQ(info.SetType(std::string(260, 'x').insert(5, "/").c_str()), B_BAD_VALUE);
	char type[B_MIME_TYPE_LENGTH];
	status_t status = info.GetType(type);
	EXPECT_TRUE(status == B_ENTRY_NOT_FOUND || status == B_UNSUPPORTED) << status;

	BFile closed;
	EXPECT_NE(BAppFileInfo(&closed).InitCheck(), B_OK);
	EXPECT_NE(BAppFileInfo(nullptr).SetType("image/png"), B_OK);
}

// Where the folder takes no temporary file: refused by the test hook (the superuser's tests
// are never refused for real), and for real below when the tests do not run as the
// superuser.
class RefusedTemporaryFiles : public ::testing::Test {
protected:
	void SetUp() override { kit::testing::RefuseTemporaryFiles(true); }
	void TearDown() override { kit::testing::RefuseTemporaryFiles(false); }
};

TEST_F(RefusedTemporaryFiles, AnExistingFileIsWrittenInPlaceOnCommitOnly)
{
	TempDirectory dir;
	std::string target = dir.WriteFile("picture.png", "a much longer old content");
	struct stat before {};
	ASSERT_EQ(stat(target.c_str(), &before), 0);

	BFile file;
	ASSERT_EQ(CreateIn(dir, "picture.png", &file), B_OK);
	EXPECT_TRUE(file.IsSafeWrite());
	EXPECT_EQ(file.Write("new", 3), 3);
	EXPECT_EQ(file.WriteAt(3, "!", 1), 1);
	off_t size = 0;
	ASSERT_EQ(file.GetSize(&size), B_OK);
	EXPECT_EQ(size, 4);
	EXPECT_EQ(ReadWholeFile(target), "a much longer old content");

	// The type goes onto the file itself.
	BAppFileInfo info(&file);
	status_t typed = info.SetType("image/png");
	ASSERT_EQ(file.Commit(), B_OK);
	EXPECT_EQ(ReadWholeFile(target), "new!");
	EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"});
	struct stat after {};
	ASSERT_EQ(stat(target.c_str(), &after), 0);
	EXPECT_EQ(after.st_ino, before.st_ino); // truncated and reused, not replaced
	if (typed != B_UNSUPPORTED) {
		char raw[64] = {};
		ASSERT_EQ(getxattr(target.c_str(), "user.mime_type", raw, sizeof(raw)), 9);
		EXPECT_EQ(std::string(raw, 9), "image/png");
	}

	// Given up without Commit(), it leaves the old file as it was.
	BFile abandoned;
	ASSERT_EQ(CreateIn(dir, "picture.png", &abandoned), B_OK);
	EXPECT_EQ(abandoned.Write("xx", 2), 2);
	abandoned.Unset();
	EXPECT_EQ(ReadWholeFile(target), "new!");
}

TEST_F(RefusedTemporaryFiles, AFileThatDoesNotExistCannotBeMade)
{
	TempDirectory dir;
	BFile file;
	EXPECT_EQ(CreateIn(dir, "fresh.png", &file), B_PERMISSION_DENIED);
	EXPECT_NE(file.InitCheck(), B_OK);
	EXPECT_TRUE(dir.Names().empty());
}

TEST(SafeWrite, AReadOnlyFolderWritesAWritableFileInPlace)
{
	if (geteuid() == 0)
		GTEST_SKIP()
			<< "a read-only folder does not stop the superuser (see RefusedTemporaryFiles)";
	TempDirectory dir;
	std::string target = dir.WriteFile("picture.png", "old");
	std::string locked = dir.WriteFile("locked.png", "old");
	chmod(locked.c_str(), 0444);
	chmod(dir.Path().c_str(), 0555);
	BFile file;
	status_t created = CreateIn(dir, "picture.png", &file);
	status_t written = file.Write("new", 3) == 3 ? file.Commit() : B_ERROR;
	BFile lockedFile;
	status_t refused = CreateIn(dir, "locked.png", &lockedFile);
	BFile freshFile;
	status_t fresh = CreateIn(dir, "fresh.png", &freshFile);
	chmod(dir.Path().c_str(), 0755);
	EXPECT_EQ(created, B_OK);
	EXPECT_EQ(written, B_OK);
	EXPECT_EQ(ReadWholeFile(target), "new");
	EXPECT_EQ(refused, B_PERMISSION_DENIED);
	EXPECT_EQ(ReadWholeFile(locked), "old");
	EXPECT_EQ(fresh, B_PERMISSION_DENIED);
}

// The two ways a safe write goes: beside the file then renamed, or in place where the folder
// takes no temporary file.
class BothWays : public ::testing::TestWithParam<bool> {
protected:
	void SetUp() override { kit::testing::RefuseTemporaryFiles(InPlace()); }
	void TearDown() override { kit::testing::RefuseTemporaryFiles(false); }
	bool InPlace() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(SafeWrite, BothWays, ::testing::Values(false, true),
	[](const auto& info) { return std::string(info.param ? "InPlace" : "Renamed"); });

// A write that fails midway, past the file size limit: beside the file it fails as it is
// written; in place the data waits aside, so the limit is set before Commit(), which then
// fails while copying it over the old contents and must put them back.
TEST_P(BothWays, AWriteThatFailsMidwayLeavesTheOldFileByteForByte)
{
	TempDirectory dir;
	std::string target = dir.WriteFile("picture.png", kOld);
	BFile file;
	ASSERT_EQ(CreateIn(dir, "picture.png", &file), B_OK);
	status_t committed;
	{
		std::optional<FileSizeLimit> limit;
		if (!InPlace())
			limit.emplace(16 * 1024);
		ssize_t written = file.Write(kNew.data(), kNew.size());
		EXPECT_EQ(written, InPlace() ? ssize_t(kNew.size()) : ssize_t(B_FILE_TOO_LARGE));
		if (InPlace())
			limit.emplace(16 * 1024);
		committed = file.Commit();
	}
	EXPECT_EQ(committed, B_FILE_TOO_LARGE);
	EXPECT_STREQ(status_text(committed), "File too large");
	EXPECT_EQ(ReadWholeFile(target), kOld);
	EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"});
}

TEST_P(BothWays, AFullDiskLeavesTheOldFileByteForByte)
{
	SmallDisk disk(256 * 1024);
	if (!disk.Mounted())
		GTEST_SKIP() << disk.Why();
	std::string target = disk.Child("picture.png");
	{
		BFile old(target.c_str(), B_WRITE_ONLY | B_CREATE_FILE);
		ASSERT_EQ(old.Write(kOld.data(), kOld.size()), ssize_t(kOld.size()));
	}
	disk.Fill();
	BFile file;
	ASSERT_EQ(CreateAt(disk.Child(""), "picture.png", &file), B_OK);
	file.Write(kNew.data(), kNew.size());
	status_t committed = file.Commit();
	EXPECT_EQ(committed, B_DEVICE_FULL);
	EXPECT_STREQ(status_text(committed), "No space left on device");
	EXPECT_EQ(ReadWholeFile(target), kOld);
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator(disk.Child("")))
		names.push_back(entry.path().filename().string());
	std::sort(names.begin(), names.end());
	EXPECT_EQ(names, (std::vector<std::string>{"filler", "picture.png"}));
}

// b.png is a link to a.png, another result: writing b never writes over a. Beside the
// file, the link itself is replaced; in place (a folder that takes no new file) it is
// refused.
TEST_P(BothWays, ASymbolicLinkIsReplacedOrRefusedNeverWrittenThrough)
{
	TempDirectory dir;
	std::string a = dir.WriteFile("a.png", "picture a");
	std::filesystem::create_symlink("a.png", dir.Path() / "b.png");
	BFile file;
	status_t created = CreateIn(dir, "b.png", &file);
	if (InPlace()) {
		EXPECT_EQ(created, B_PERMISSION_DENIED);
	} else {
		ASSERT_EQ(created, B_OK);
		EXPECT_EQ(file.Write("picture b", 9), 9);
		ASSERT_EQ(file.Commit(), B_OK);
		EXPECT_FALSE(std::filesystem::is_symlink(dir.Path() / "b.png"));
		EXPECT_EQ(ReadWholeFile(dir.Child("b.png")), "picture b");
	}
	EXPECT_EQ(ReadWholeFile(a), "picture a");
}

// A process ended by SIGTERM, SIGINT or SIGHUP halfway through a write leaves no
// temporary file behind, and the old file as it was: an unnamed one goes by itself, a
// named one (on file systems without unnamed ones) is removed as the signal ends it.
TEST(SafeWrite, ASignalDuringTheWriteRemovesTheTemporaryFile)
{
	for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
		SCOPED_TRACE(signal);
		TempDirectory dir;
		std::string target = dir.WriteFile("picture.png", kOld);
		pid_t child = fork();
		ASSERT_GE(child, 0);
		if (child == 0) {
			std::signal(signal, SIG_DFL);
			kit::testing::UseNamedTemporaryFiles(true);
			BFile file;
			if (CreateIn(dir, "picture.png", &file) != B_OK || dir.Names().size() != 2
				|| file.Write(kNew.data(), kNew.size()) != ssize_t(kNew.size()))
				_exit(3);
			::raise(signal);
			_exit(4);
		}
		int status = 0;
		ASSERT_EQ(waitpid(child, &status, 0), child);
		ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
		EXPECT_EQ(WTERMSIG(status), signal);
		EXPECT_EQ(dir.Names(), std::vector<std::string>{"picture.png"});
		EXPECT_EQ(ReadWholeFile(target), kOld);
	}
}
