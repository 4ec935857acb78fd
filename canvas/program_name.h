// The program's name and version, as its windows and its About box show them. They sit in
// the lowest of the program's folders, so that every other folder can use them.
#pragma once

#include <array>
#include <cstddef>

inline constexpr char kProgramName[] = "dorva";
inline constexpr char kProgramVersion[] = "ver.0.00";

namespace program_name_detail {

// The two texts joined by one space into one terminated text, made at compile time.
template <size_t NameSize, size_t VersionSize>
constexpr std::array<char, NameSize + VersionSize> join_with_space(
	const char (&name)[NameSize], const char (&version)[VersionSize])
{
	std::array<char, NameSize + VersionSize> text{};
	for (size_t i = 0; i + 1 < NameSize; i++)
		text[i] = name[i];
	text[NameSize - 1] = ' ';
	for (size_t i = 0; i < VersionSize; i++)
		text[NameSize + i] = version[i];
	return text;
}

inline constexpr auto kTitleText = join_with_space(kProgramName, kProgramVersion);

} // namespace program_name_detail

// "dorva ver.0.00": the main window's title while it shows no picture, and the first words
// of the About box.
inline constexpr const char* kProgramTitle = program_name_detail::kTitleText.data();
