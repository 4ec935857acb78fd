#include "holiday_catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text)
{
	for (char& c : text)
		c = char(std::tolower((unsigned char)c));
	return text;
}

std::string upper(std::string text)
{
	for (char& c : text)
		c = char(std::toupper((unsigned char)c));
	return text;
}

// "Bavaria (Bayern)", or the one name where both are the same.
std::string both_names(const std::string& english, const std::string& local)
{
	return english == local ? english : english + " (" + local + ")";
}

size_t edit_distance(const std::string& a, const std::string& b)
{
	std::vector<size_t> row(b.size() + 1);
	for (size_t j = 0; j <= b.size(); j++)
		row[j] = j;
	for (size_t i = 1; i <= a.size(); i++) {
		size_t diagonal = row[0];
		row[0] = i;
		for (size_t j = 1; j <= b.size(); j++) {
			const size_t above = row[j];
			row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
			diagonal = above;
		}
	}
	return row[b.size()];
}

// The names of the sets of every rule file that can be read, and "none".
std::vector<std::string> known_set_names()
{
	std::vector<std::string> names{"none"};
	std::vector<std::string> ignored;
	for (const holiday_set_info& info : list_holiday_sets(&ignored))
		names.push_back(info.name);
	return names;
}

std::string unknown_set(const std::string& name)
{
	const std::vector<std::string> names = known_set_names();
	if (names.size() == 1)
		return name + ": no such holiday set (no rule files in " + holiday_rules_folder() + ")";
	const std::string set = lower(name);
	size_t best = SIZE_MAX;
	for (const std::string& known : names)
		best = std::min(best, edit_distance(set, known));
	std::string list;
	int count = 0;
	for (const std::string& known : names) {
		if (edit_distance(set, known) == best && count++ < 5)
			list += (list.empty() ? "" : ", ") + known;
	}
	return name + ": no such holiday set (nearest: " + list + "; --holidays list names them all)";
}

} // namespace

std::string holiday_rules_folder()
{
	if (const char* given = std::getenv("DORVA_HOLIDAY_RULES"); given != nullptr && *given)
		return given;
	std::error_code error;
	const fs::path program = fs::read_symlink("/proc/self/exe", error);
	if (error)
		return "holidays";
	// Installed, the programs are in bin, and the localized one in lib/dorva.
	for (const char* installed : {"../share/dorva/holidays", "../../share/dorva/holidays"}) {
		const fs::path folder = (program.parent_path() / installed).lexically_normal();
		if (fs::is_directory(folder, error))
			return folder.string();
	}
	return (program.parent_path() / "holidays").string();
}

bool looks_like_set_name(const std::string& name)
{
	auto letter = [](char c) { return std::isalpha((unsigned char)c) != 0; };
	if (name.size() < 2 || !letter(name[0]) || !letter(name[1]))
		return false;
	if (name.size() == 2)
		return true;
	if (name[2] != '-' || name.size() < 4 || name.size() > 6)
		return false;
	return std::all_of(
		name.begin() + 3, name.end(), [](char c) { return std::isalnum((unsigned char)c) != 0; });
}

bool load_holiday_set(
	const std::string& name, holiday_rules* rules, std::string* region, std::string* error)
{
	const std::string set = lower(name);
	const fs::path file = fs::path(holiday_rules_folder()) / (set.substr(0, 2) + ".rules");
	std::error_code ignored;
	if (!looks_like_set_name(set) || !fs::is_regular_file(file, ignored)) {
		*error = unknown_set(name);
		return false;
	}
	holiday_rules read;
	if (!read_holiday_rules(file.string(), &read, error))
		return false;
	const std::string sub = set.size() > 2 ? upper(set.substr(3)) : "";
	const bool declared = std::any_of(read.regions.begin(), read.regions.end(),
		[&sub](const holiday_region& r) { return r.code == sub; });
	if (!sub.empty() && !declared) {
		*error = unknown_set(name);
		return false;
	}
	*rules = std::move(read);
	*region = sub;
	return true;
}

std::vector<holiday_set_info> list_holiday_sets(std::vector<std::string>* errors)
{
	std::vector<fs::path> files;
	std::error_code error;
	for (const fs::directory_entry& entry : fs::directory_iterator(holiday_rules_folder(), error)) {
		if (entry.path().extension() == ".rules")
			files.push_back(entry.path());
	}
	if (error)
		errors->push_back(holiday_rules_folder() + ": " + error.message());
	std::sort(files.begin(), files.end());

	std::vector<holiday_set_info> sets;
	for (const fs::path& file : files) {
		holiday_rules rules;
		std::string message;
		if (!read_holiday_rules(file.string(), &rules, &message)) {
			errors->push_back(message);
			continue;
		}
		sets.push_back({lower(rules.code), both_names(rules.english_name, rules.local_name),
			rules.first_year, rules.last_year});
		for (const holiday_region& r : rules.regions) {
			sets.push_back({lower(rules.code) + "-" + lower(r.code),
				both_names(r.english_name, r.local_name) + ", " + rules.english_name,
				rules.first_year, rules.last_year});
		}
	}
	return sets;
}
