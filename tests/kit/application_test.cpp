// What the platform knows about an application comes from its signature, so that the kit
// itself names no program: the desktop file's name is the signature's reverse-DNS id, and
// the application's name is the id's last element.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Application.h"
#include "KitTesting.h"

namespace {

void ExpectNames(const char* signature, const std::string& name, const std::string& desktop)
{
	BApplication application(signature);
	std::string shownName, desktopFileName;
	kit::testing::PlatformApplicationNames(&shownName, &desktopFileName);
	EXPECT_EQ(shownName, name) << signature;
	EXPECT_EQ(desktopFileName, desktop) << signature;
}

TEST(ApplicationNames, ComeFromTheSignature)
{
	ExpectNames("application/x-vnd.Vendor-viewer", "viewer", "x_vnd.Vendor.viewer");
	ExpectNames("application/x-vnd.Vendor-photo.viewer", "viewer", "x_vnd.Vendor.photo.viewer");
	// A signature without a vendor still gives a usable id and name.
	ExpectNames("application/viewer", "viewer", "x_vnd.viewer");
}

TEST(ApplicationInfo, ALongSignatureIsCutWithoutSplittingACharacter)
{
	// An odd number of ASCII bytes, then two-byte characters past the field's end: the
	// last character that would fit only by half is left out.
	std::string signature = "application/x-vnd.Vendor-ab";
	ASSERT_EQ(signature.size() % 2, 1u);
	while (signature.size() < B_MIME_TYPE_LENGTH + 8)
		signature += "\xc3\xa9";
	const size_t kept = B_MIME_TYPE_LENGTH - 2;
	BApplication application(signature.c_str());
	app_info info;
	application.GetAppInfo(&info);
	EXPECT_EQ(std::strlen(info.signature), kept);
	EXPECT_EQ(std::string(info.signature), signature.substr(0, kept));
}

} // namespace
