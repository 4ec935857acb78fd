// BDirectory::CreateFile makes safe-write files: nothing on disk changes before Commit(),
// also where the folder takes no temporary file and the file is written in place.
// BAppFileInfo stamps such files with their MIME type.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "AppFileInfo.h"
#include "Directory.h"
#include "File.h"
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
