// Entries, paths, files and directories on a scratch directory.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "Directory.h"
#include "Entry.h"
#include "File.h"
#include "Path.h"
#include "TempDirectory.h"

namespace fs = std::filesystem;

namespace {

// Runs the test from inside a directory and goes back afterwards.
class CurrentDirectory {
public:
	explicit CurrentDirectory(const fs::path& path) : fPrevious(fs::current_path())
	{
		fs::current_path(path);
	}
	~CurrentDirectory() { fs::current_path(fPrevious); }

private:
	fs::path fPrevious;
};

} // namespace

TEST(Entry, ExistingAndAbstractEntries)
{
	TempDirectory dir;
	std::string file = dir.WriteFile("photo.png", "x");
	BEntry existing(file.c_str());
	ASSERT_EQ(existing.InitCheck(), B_OK);
	EXPECT_TRUE(existing.Exists());
	EXPECT_TRUE(existing.IsFile());
	EXPECT_FALSE(existing.IsDirectory());
	entry_ref ref;
	ASSERT_EQ(existing.GetRef(&ref), B_OK);
	EXPECT_EQ(ref.directory, dir.Path().string());
	EXPECT_EQ(ref.name, "photo.png");
	EXPECT_EQ(ref.Path(), file);
	char name[B_FILE_NAME_LENGTH];
	ASSERT_EQ(existing.GetName(name), B_OK);
	EXPECT_STREQ(name, "photo.png");

	// The leaf need not exist as long as its directory does.
	BEntry abstract(dir.Child("later.png").c_str());
	ASSERT_EQ(abstract.InitCheck(), B_OK);
	EXPECT_FALSE(abstract.Exists());
	EXPECT_FALSE(abstract.IsFile());
	BPath path;
	ASSERT_EQ(abstract.GetPath(&path), B_OK);
	EXPECT_STREQ(path.Path(), dir.Child("later.png").c_str());

	BEntry parent;
	ASSERT_EQ(abstract.GetParent(&parent), B_OK);
	EXPECT_TRUE(parent.IsDirectory());
	EXPECT_EQ(BEntry(&ref), existing);
}

TEST(Entry, MissingDirectoryGivesNoEntry)
{
	TempDirectory dir;
	BEntry entry(dir.Child("nowhere/file.png").c_str());
	EXPECT_NE(entry.InitCheck(), B_OK);
	EXPECT_FALSE(entry.Exists());
	entry_ref ref("/kept", "as-is");
	EXPECT_NE(entry.GetRef(&ref), B_OK);
	EXPECT_EQ(ref, entry_ref("/kept", "as-is"));

	std::string file = dir.WriteFile("plain", "x");
	BEntry underFile((file + "/child").c_str());
	EXPECT_EQ(underFile.InitCheck(), B_NOT_A_DIRECTORY);
	EXPECT_NE(BEntry("").InitCheck(), B_OK);
	EXPECT_NE(BEntry(static_cast<const char*>(nullptr)).InitCheck(), B_OK);
	entry_ref empty;
	EXPECT_NE(BEntry(&empty).InitCheck(), B_OK);
}

TEST(Entry, RelativePathsAndDotsResolveAgainstTheCurrentDirectory)
{
	TempDirectory dir;
	fs::create_directory(dir.Path() / "sub");
	dir.WriteFile("top.txt", "x");
	CurrentDirectory inside(dir.Path() / "sub");

	entry_ref ref;
	ASSERT_EQ(BEntry("new.txt").GetRef(&ref), B_OK);
	EXPECT_EQ(ref, entry_ref((dir.Path() / "sub").string(), "new.txt"));
	ASSERT_EQ(BEntry("../top.txt").GetRef(&ref), B_OK);
	EXPECT_EQ(ref, entry_ref(dir.Path().string(), "top.txt"));
	ASSERT_EQ(BEntry(".").GetRef(&ref), B_OK);
	EXPECT_EQ(ref, entry_ref(dir.Path().string(), "sub"));
	ASSERT_EQ(BEntry("../sub/.//").GetRef(&ref), B_OK);
	EXPECT_EQ(ref, entry_ref(dir.Path().string(), "sub"));
	// ".." of a directory that does not exist leads nowhere, as it does for the system.
	EXPECT_EQ(BEntry("sub/..").InitCheck(), B_ENTRY_NOT_FOUND);

	ASSERT_EQ(BEntry("/").GetRef(&ref), B_OK);
	EXPECT_EQ(ref.Path(), "/");
	char name[B_FILE_NAME_LENGTH] = "x";
	BEntry("/").GetName(name);
	EXPECT_STREQ(name, "");
}

TEST(Entry, SymbolicLinksAreFollowedOnlyWhenAsked)
{
	TempDirectory dir;
	std::string target = dir.WriteFile("target.txt", "x");
	fs::create_symlink("target.txt", dir.Path() / "link");
	fs::create_symlink("missing.txt", dir.Path() / "dangling");

	BEntry link(dir.Child("link").c_str());
	EXPECT_TRUE(link.IsSymLink());
	EXPECT_FALSE(link.IsFile());
	entry_ref ref;
	link.GetRef(&ref);
	EXPECT_EQ(ref.name, "link");

	BEntry followed(dir.Child("link").c_str(), true);
	EXPECT_TRUE(followed.IsFile());
	followed.GetRef(&ref);
	EXPECT_EQ(ref.Path(), target);

	BEntry dangling(dir.Child("dangling").c_str());
	EXPECT_TRUE(dangling.Exists()); // the link itself is there
	BEntry through(dir.Child("dangling").c_str(), true);
	ASSERT_EQ(through.InitCheck(), B_OK);
	EXPECT_FALSE(through.Exists());
	through.GetRef(&ref);
	EXPECT_EQ(ref.name, "missing.txt");

	fs::create_symlink("loop2", dir.Path() / "loop1");
	fs::create_symlink("loop1", dir.Path() / "loop2");
	EXPECT_NE(BEntry(dir.Child("loop1").c_str(), true).InitCheck(), B_OK);
}

TEST(Path, PlainAbsolutePathsAreTakenAsTheyStand)
{
	BPath path("/no/such/place/file.png");
	ASSERT_EQ(path.InitCheck(), B_OK);
	EXPECT_STREQ(path.Path(), "/no/such/place/file.png");
	EXPECT_STREQ(path.Leaf(), "file.png");
	BPath parent;
	ASSERT_EQ(path.GetParent(&parent), B_OK);
	EXPECT_STREQ(parent.Path(), "/no/such/place");
	ASSERT_EQ(parent.Append("other.jpg"), B_OK);
	EXPECT_STREQ(parent.Path(), "/no/such/place/other.jpg");
	EXPECT_EQ(BPath("/a", "b/c").Path(), std::string("/a/b/c"));
	EXPECT_STREQ(BPath("/a/b/").Path(), "/a/b");

	BPath root("/");
	EXPECT_STREQ(root.Leaf(), "");
	EXPECT_EQ(root.GetParent(&parent), B_ENTRY_NOT_FOUND);
}

TEST(Path, OtherPathsAreNormalizedThroughTheFileSystem)
{
	TempDirectory dir;
	fs::create_directory(dir.Path() / "sub");
	BPath dotted((dir.Path() / "sub" / ".." / "x.png").c_str());
	ASSERT_EQ(dotted.InitCheck(), B_OK);
	EXPECT_STREQ(dotted.Path(), dir.Child("x.png").c_str());
	BPath appended(dir.Path().c_str());
	ASSERT_EQ(appended.Append("sub/../y", true), B_OK);
	EXPECT_STREQ(appended.Path(), dir.Child("y").c_str());

	{
		CurrentDirectory inside(dir.Path());
		BPath relative("sub");
		EXPECT_STREQ(relative.Path(), dir.Child("sub").c_str());
	}
	BPath missing((dir.Path() / "gone" / ".." / "x").c_str());
	EXPECT_NE(missing.InitCheck(), B_OK);
	EXPECT_EQ(missing.Path(), nullptr);
	EXPECT_EQ(missing.Leaf(), nullptr);
}

TEST(Path, BadArgumentsLeaveItUninitialised)
{
	BPath path;
	EXPECT_EQ(path.Path(), nullptr);
	EXPECT_NE(path.InitCheck(), B_OK);
	EXPECT_NE(path.Append("x"), B_OK);
	EXPECT_EQ(path.SetTo("/a", "/b"), B_BAD_VALUE); // a leaf must be relative
	EXPECT_EQ(path.SetTo(static_cast<const char*>(nullptr)), B_BAD_VALUE);
	entry_ref empty;
	EXPECT_EQ(path.SetTo(&empty), B_BAD_VALUE);
	EXPECT_EQ(path.Path(), nullptr);
	entry_ref ref("/tmp", "pic.png");
	ASSERT_EQ(path.SetTo(&ref), B_OK);
	EXPECT_STREQ(path.Path(), "/tmp/pic.png");
}

TEST(File, OpenModes)
{
	TempDirectory dir;
	std::string existing = dir.WriteFile("data.bin", "hello world");

	EXPECT_EQ(BFile(dir.Child("missing").c_str(), B_READ_ONLY).InitCheck(), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(BFile(dir.Path().c_str(), B_READ_ONLY).InitCheck(), B_IS_A_DIRECTORY);
	EXPECT_NE(BFile(dir.Path().c_str(), B_READ_WRITE).InitCheck(), B_OK);
	EXPECT_EQ(BFile(existing.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS).InitCheck(),
		B_FILE_EXISTS);
	EXPECT_EQ(BFile(dir.Child("a/b").c_str(), B_WRITE_ONLY | B_CREATE_FILE).InitCheck(),
		B_ENTRY_NOT_FOUND);
	EXPECT_EQ(BFile(existing.c_str(), 3).InitCheck(), B_BAD_VALUE);

	// Writing without B_ERASE_FILE keeps what it does not overwrite.
	{
		BFile file(existing.c_str(), B_WRITE_ONLY);
		ASSERT_EQ(file.InitCheck(), B_OK);
		EXPECT_EQ(file.Write("J", 1), 1);
		char buffer[4];
		EXPECT_LT(file.ReadAt(0, buffer, 1), 0);
	}
	EXPECT_EQ(ReadWholeFile(existing), "Jello world");
	{
		BFile file(existing.c_str(), B_READ_WRITE | B_ERASE_FILE);
		ASSERT_EQ(file.InitCheck(), B_OK);
	}
	EXPECT_EQ(ReadWholeFile(existing), "");
	{
		entry_ref ref(dir.Path().string(), "new.bin");
		BFile file(&ref, B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS);
		ASSERT_EQ(file.InitCheck(), B_OK);
		EXPECT_EQ(file.Write("abc", 3), 3);
		EXPECT_TRUE(file.IsWritable());
		EXPECT_FALSE(file.IsReadable());
		EXPECT_EQ(file.Commit(), B_OK);
	}
	EXPECT_EQ(ReadWholeFile(dir.Child("new.bin")), "abc");
}

TEST(File, PositionedReadsAndWrites)
{
	TempDirectory dir;
	BFile file(dir.Child("f").c_str(), B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(file.InitCheck(), B_OK);
	EXPECT_EQ(file.WriteAt(4, "tail", 4), 4);
	EXPECT_EQ(file.Position(), 0); // WriteAt does not move it
	off_t size = 0;
	ASSERT_EQ(file.GetSize(&size), B_OK);
	EXPECT_EQ(size, 8);
	EXPECT_EQ(file.Write("head", 4), 4);
	EXPECT_EQ(file.Position(), 4);
	char buffer[16] = {};
	EXPECT_EQ(file.ReadAt(0, buffer, sizeof(buffer)), 8);
	EXPECT_EQ(std::string(buffer, 8), "headtail");
	EXPECT_EQ(file.Seek(-2, SEEK_END), 6);
	EXPECT_EQ(file.Read(buffer, 10), 2);
	EXPECT_EQ(std::string(buffer, 2), "il");
	EXPECT_LT(file.Seek(-1, SEEK_SET), 0);
	EXPECT_EQ(file.SetSize(2), B_OK);
	file.GetSize(&size);
	EXPECT_EQ(size, 2);

	file.Unset();
	EXPECT_EQ(file.InitCheck(), B_NO_INIT);
	EXPECT_LT(file.ReadAt(0, buffer, 1), 0);
	EXPECT_LT(file.Write("x", 1), 0);
	EXPECT_EQ(file.Commit(), B_NO_INIT);
}

TEST(Directory, OpeningAndContainment)
{
	TempDirectory dir;
	fs::create_directories(dir.Path() / "a" / "b");
	dir.WriteFile("a/b/deep.txt", "x");
	std::string file = dir.WriteFile("plain.txt", "x");

	EXPECT_EQ(BDirectory(file.c_str()).InitCheck(), B_NOT_A_DIRECTORY);
	EXPECT_EQ(BDirectory(dir.Child("none").c_str()).InitCheck(), B_ENTRY_NOT_FOUND);
	entry_ref ref(dir.Path().string(), "a");
	BDirectory a(&ref);
	ASSERT_EQ(a.InitCheck(), B_OK);

	EXPECT_TRUE(a.Contains("b"));
	EXPECT_TRUE(a.Contains("b/deep.txt"));
	EXPECT_TRUE(a.Contains("b/deep.txt", B_FILE_NODE));
	EXPECT_FALSE(a.Contains("b/deep.txt", B_DIRECTORY_NODE));
	EXPECT_TRUE(a.Contains(dir.Child("a/b/deep.txt").c_str()));
	EXPECT_FALSE(a.Contains("b/missing.txt"));
	EXPECT_FALSE(a.Contains("../plain.txt"));
	EXPECT_FALSE(a.Contains(file.c_str()));
	EXPECT_FALSE(a.Contains(dir.Child("a").c_str())); // not itself
	BEntry deep(dir.Child("a/b/deep.txt").c_str());
	EXPECT_TRUE(a.Contains(&deep));

	BEntry entry;
	ASSERT_EQ(a.GetEntry(&entry), B_OK);
	EXPECT_TRUE(entry.IsDirectory());
	a.Unset();
	EXPECT_FALSE(a.Contains("b"));
}
