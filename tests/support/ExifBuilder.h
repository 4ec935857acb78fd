// EXIF as a camera writes it, built by tests: a little-endian TIFF structure with the
// first directory and the EXIF directory it points to.
#pragma once

#include <string>
#include <vector>

#include "SupportDefs.h"

inline constexpr uint16 kDateTime = 0x0132;
inline constexpr uint16 kExifPointer = 0x8769;
inline constexpr uint16 kDateTimeOriginal = 0x9003;
inline constexpr uint16 kDateTimeDigitized = 0x9004;
inline constexpr uint16 kAscii = 2;
inline constexpr uint16 kLong = 4;
inline constexpr uint32 kFirstDirectory = 8;

// EXIF as a camera writes it (a little-endian TIFF structure): the first directory, the
// EXIF directory that it points to when that has entries, then the texts of both.
class ExifBuilder {
public:
	void Text(bool inExif, uint16 tag, const std::string& text)
	{
		Directory(inExif).push_back({tag, kAscii, uint32(text.size() + 1), 0, text});
	}
	void Entry(bool inExif, uint16 tag, uint16 type, uint32 count, uint32 value)
	{
		Directory(inExif).push_back({tag, type, count, value, ""});
	}
	// The EXIF directory's offset when the first directory points to it.
	uint32 ExifDirectory() const { return kFirstDirectory + DirectoryBytes(fFirst.size() + 1); }
	// The bytes; the first directory points to the EXIF one when it has entries.
	std::vector<uint8> Bytes(uint32 nextDirectory = 0) const
	{
		std::vector<Item> first = fFirst;
		if (!fExif.empty())
			first.push_back({kExifPointer, kLong, 1, ExifDirectory(), ""});
		uint32 exifAt = kFirstDirectory + DirectoryBytes(first.size());
		uint32 textAt = exifAt + (fExif.empty() ? 0 : DirectoryBytes(fExif.size()));
		std::vector<uint8> out = {'I', 'I', 42, 0};
		Put(out, kFirstDirectory, 4);
		std::string texts;
		auto directory = [&](const std::vector<Item>& items) {
			Put(out, uint32(items.size()), 2);
			for (const Item& item : items) {
				Put(out, item.tag, 2);
				Put(out, item.type, 2);
				Put(out, item.count, 4);
				if (item.text.empty()) {
					Put(out, item.value, 4);
					continue;
				}
				Put(out, textAt + uint32(texts.size()), 4);
				texts += item.text;
				texts += '\0';
			}
			Put(out, nextDirectory, 4);
		};
		directory(first);
		if (!fExif.empty())
			directory(fExif);
		out.insert(out.end(), texts.begin(), texts.end());
		return out;
	}

private:
	struct Item {
		uint16 tag, type;
		uint32 count, value;
		std::string text;
	};
	std::vector<Item>& Directory(bool inExif) { return inExif ? fExif : fFirst; }
	static uint32 DirectoryBytes(size_t entries) { return uint32(2 + 12 * entries + 4); }
	static void Put(std::vector<uint8>& out, uint32 value, int bytes)
	{
		for (int i = 0; i < bytes; i++)
			out.push_back(uint8(value >> (8 * i)));
	}

	std::vector<Item> fFirst;
	std::vector<Item> fExif;
};
