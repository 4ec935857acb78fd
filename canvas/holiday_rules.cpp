#include "holiday_rules.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "TimeZone.h"
#include "civil_date.h"

namespace {

// A token of a line: a word, a "quoted string", or a word that ends in one (de:"Name").
struct token {
	std::string word;   // the text before any quote
	std::string quoted; // the quoted text, unescaped
	bool has_quote = false;
};

struct fault {
	std::string message;
};

bool split_line(const std::string& line, std::vector<token>* tokens, std::string* message)
{
	size_t i = 0;
	while (i < line.size()) {
		const char c = line[i];
		if (c == ' ' || c == '\t' || c == '\r') {
			i++;
			continue;
		}
		if (c == '#')
			break;
		token t;
		while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r'
			&& line[i] != '"' && line[i] != '#')
			t.word += line[i++];
		if (i < line.size() && line[i] == '"') {
			t.has_quote = true;
			i++;
			for (;;) {
				if (i >= line.size()) {
					*message = "unterminated quoted string";
					return false;
				}
				if (line[i] == '"')
					break;
				if (line[i] == '\\') {
					if (i + 1 >= line.size() || (line[i + 1] != '"' && line[i + 1] != '\\')) {
						*message = "only \\\" and \\\\ may be escaped in a quoted string";
						return false;
					}
					i++;
				}
				t.quoted += line[i++];
			}
			i++;
			if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r'
				&& line[i] != '#') {
				*message = "a blank must follow a quoted string";
				return false;
			}
		}
		tokens->push_back(t);
	}
	return true;
}

// Reads the tokens of one statement in order, throwing a fault for anything amiss.
class reader {
public:
	explicit reader(const std::vector<token>& tokens) : fTokens(tokens) {}

	bool at_end() const { return fNext >= fTokens.size(); }
	bool next_is(const char* word) const
	{
		return !at_end() && !fTokens[fNext].has_quote && fTokens[fNext].word == word;
	}
	std::string peek_word() const { return at_end() ? "" : fTokens[fNext].word; }

	std::string word(const char* what)
	{
		if (at_end() || fTokens[fNext].has_quote)
			throw fault{"expected " + std::string(what)};
		return fTokens[fNext++].word;
	}

	std::string text(const char* what)
	{
		if (at_end() || !fTokens[fNext].has_quote || !fTokens[fNext].word.empty())
			throw fault{"expected " + std::string(what) + " in quotes"};
		if (fTokens[fNext].quoted.empty())
			throw fault{std::string(what) + " is empty"};
		return fTokens[fNext++].quoted;
	}

	const token& any() { return fTokens[fNext++]; }

	void finish()
	{
		if (!at_end())
			throw fault{"unexpected '" + fTokens[fNext].word + fTokens[fNext].quoted + "'"};
	}

private:
	const std::vector<token>& fTokens;
	size_t fNext = 0;
};

bool is_digits(const std::string& s, size_t count)
{
	return s.size() == count
		&& std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int weekday_named(const std::string& name)
{
	static const char* const kNames[7] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
	for (int i = 0; i < 7; i++) {
		if (name == kNames[i])
			return i;
	}
	throw fault{"'" + name + "' is not a weekday (mon tue wed thu fri sat sun)"};
}

unsigned weekday_list(const std::string& list)
{
	unsigned bits = 0;
	std::stringstream in(list);
	std::string name;
	while (std::getline(in, name, ','))
		bits |= 1u << weekday_named(name);
	if (list.empty() || list.back() == ',')
		throw fault{"a list of weekdays is malformed"};
	return bits;
}

// Years of the Gregorian calendar, which the computus and the day counts assume.
int year_of(const std::string& s)
{
	const int kFirstGregorianYear = 1583;
	if (!is_digits(s, 4) || std::stoi(s) < kFirstGregorianYear)
		throw fault{"'" + s + "' is not a year from 1583 to 9999"};
	return std::stoi(s);
}

int month_of(const std::string& s)
{
	if (!is_digits(s, 2) || std::stoi(s) < 1 || std::stoi(s) > 12)
		throw fault{"'" + s + "' is not a month (01 to 12)"};
	return std::stoi(s);
}

// MM-DD, where 02-29 is allowed.
void month_day(const std::string& s, int* month, int* day)
{
	if (s.size() != 5 || s[2] != '-' || !is_digits(s.substr(3), 2))
		throw fault{"'" + s + "' is not a date MM-DD"};
	*month = month_of(s.substr(0, 2));
	*day = std::stoi(s.substr(3));
	if (!is_valid_date(2000, *month, *day))
		throw fault{"'" + s + "' is not a day of the year"};
}

// YYYY-MM-DD as a day number, or false when s has not that shape.
bool full_date(const std::string& s, long* number)
{
	if (s.size() != 10 || s[4] != '-' || s[7] != '-')
		return false;
	int month, day;
	const int year = year_of(s.substr(0, 4));
	month_day(s.substr(5), &month, &day);
	if (!is_valid_date(year, month, day))
		throw fault{"'" + s + "' is not a date"};
	*number = day_number(year, month, day);
	return true;
}

rule_date read_date(reader& in)
{
	rule_date date;
	const std::string first = in.word("a date");
	static const std::pair<const char*, rule_date::kind_t> kNamed[] = {
		{"easter", rule_date::EASTER}, {"orthodox", rule_date::ORTHODOX},
		{"march-equinox", rule_date::MARCH_EQUINOX}, {"june-solstice", rule_date::JUNE_SOLSTICE},
		{"september-equinox", rule_date::SEPTEMBER_EQUINOX},
		{"december-solstice", rule_date::DECEMBER_SOLSTICE}};
	bool named = false;
	for (const auto& [name, kind] : kNamed) {
		if (first == name) {
			date.kind = kind;
			named = true;
		}
	}
	long once;
	if (named) {
	} else if (first == "lunar") {
		date.kind = rule_date::LUNAR;
		const std::string md = in.word("a lunar date MM-DD");
		if (md.size() != 5 || md[2] != '-' || !is_digits(md.substr(3), 2))
			throw fault{"'" + md + "' is not a lunar date MM-DD"};
		date.month = month_of(md.substr(0, 2));
		date.day = std::stoi(md.substr(3));
		if (date.day < 1 || date.day > 30)
			throw fault{"'" + md + "' is not a lunar date (days 01 to 30)"};
	} else if (first.size() == 1 && first[0] >= '1' && first[0] <= '5') {
		date.kind = rule_date::NTH;
		date.n = first[0] - '0';
		date.weekday = weekday_named(in.word("a weekday"));
		date.month = month_of(in.word("a month"));
	} else if (first == "last") {
		date.kind = rule_date::LAST;
		date.weekday = weekday_named(in.word("a weekday"));
		date.month = month_of(in.word("a month"));
	} else if (full_date(first, &once)) {
		date.kind = rule_date::ONCE;
		date_of_day_number(once, &date.year, &date.month, &date.day);
	} else if (first.size() == 5 && first[2] == '-') {
		month_day(first, &date.month, &date.day);
	} else if (first.size() == 3 && (in.next_is("after") || in.next_is("before"))) {
		date.weekday = weekday_named(first);
		date.kind = in.word("after") == "after" ? rule_date::AFTER : rule_date::BEFORE;
		month_day(in.word("a date MM-DD"), &date.month, &date.day);
	} else {
		throw fault{"'" + first + "' is not a date"};
	}

	const std::string offset = in.peek_word();
	if (!offset.empty() && (offset[0] == '+' || offset[0] == '-')) {
		in.word("an offset");
		const std::string digits = offset.substr(1);
		if (digits.empty() || digits.size() > 3 || !is_digits(digits, digits.size()))
			throw fault{"'" + offset + "' is not an offset (+N or -N days)"};
		date.offset = std::stoi(digits) * (offset[0] == '-' ? -1 : 1);
	}
	return date;
}

std::vector<substitute_step> read_steps(reader& in)
{
	std::vector<substitute_step> steps;
	while (!in.at_end() && in.peek_word().find('>') != std::string::npos) {
		const std::string step = in.word("a substitute");
		const size_t arrow = step.find('>');
		const std::string trigger = step.substr(0, arrow), target = step.substr(arrow + 1);
		substitute_step s;
		if (trigger == "sat")
			s.trigger = substitute_step::SAT;
		else if (trigger == "sun")
			s.trigger = substitute_step::SUN;
		else if (trigger == "weekend")
			s.trigger = substitute_step::WEEKEND;
		else if (trigger == "clash")
			s.trigger = substitute_step::CLASH;
		else
			throw fault{"'" + trigger + "' is not a trigger (sat sun weekend clash)"};
		if (target == "fri")
			s.target = substitute_step::FRI;
		else if (target == "mon")
			s.target = substitute_step::MON;
		else if (target == "prev")
			s.target = substitute_step::PREV;
		else if (target == "next")
			s.target = substitute_step::NEXT;
		else
			throw fault{"'" + target + "' is not a target (fri mon prev next)"};
		steps.push_back(s);
	}
	if (steps.empty())
		throw fault{"expected TRIGGER>TARGET"};
	return steps;
}

// from YYYY or from YYYY-MM-DD: the first day; to: the last.
long range_edge(reader& in, bool first)
{
	const std::string s = in.word("a year or a date");
	long number;
	if (full_date(s, &number))
		return number;
	const int year = year_of(s);
	return first ? day_number(year, 1, 1) : day_number(year, 12, 31);
}

// Reads `from` and `to` where they come; true when the next token was one of them.
bool read_range(reader& in, day_range* range, bool* seenFrom, bool* seenTo)
{
	for (const char* word : {"from", "to"}) {
		if (!in.next_is(word))
			continue;
		const bool isFrom = word[0] == 'f';
		bool& seen = isFrom ? *seenFrom : *seenTo;
		if (seen)
			throw fault{std::string("'") + word + "' given twice"};
		seen = true;
		in.word(word);
		(isFrom ? range->first : range->last) = range_edge(in, isFrom);
		if (range->first > range->last)
			throw fault{"'to' lies before 'from'"};
		return true;
	}
	return false;
}

class file_parser {
public:
	explicit file_parser(holiday_rules* rules) : fRules(rules) {}

	void statement(reader& in, int line)
	{
		fLine = line;
		const std::string keyword = in.word("a statement");
		if (fRules->code.empty() && keyword != "country")
			throw fault{"the first statement must be 'country'"};
		if (keyword == "on")
			on(in, line);
		else if (keyword == "substitute")
			substitute(in);
		else if (keyword == "bridge")
			bridge(in);
		else if (keyword == "name")
			name(in);
		else if (fSeenOn
			&& (keyword == "country" || keyword == "source" || keyword == "zone"
				|| keyword == "years" || keyword == "region"))
			throw fault{"'" + keyword + "' belongs in the header, before the first 'on'"};
		else if (keyword == "country")
			country(in);
		else if (keyword == "source")
			fRules->sources.push_back(in.text("the source"));
		else if (keyword == "zone")
			zone(in);
		else if (keyword == "years")
			years(in);
		else if (keyword == "region")
			region(in);
		else
			throw fault{"'" + keyword + "' is not a statement"};
		in.finish();
	}

	int country_line() const { return fCountryLine; }

	// What a complete file must have.
	void finish()
	{
		if (fRules->code.empty())
			throw fault{"the file holds no 'country' statement"};
		if (fRules->sources.empty())
			throw fault{"the file names no 'source'"};
		if (fRules->zone.empty())
			throw fault{"the file names no 'zone'"};
		if (fRules->first_year == 0)
			throw fault{"the file has no 'years' statement"};
	}

private:
	void country(reader& in)
	{
		if (!fRules->code.empty())
			throw fault{"'country' given twice"};
		fCountryLine = fLine;
		const std::string code = in.word("the country's code");
		if (code.size() != 2
			|| !std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
			throw fault{"'" + code + "' is not a country code (two capital letters)"};
		fRules->code = code;
		fRules->local_name = in.text("the country's name");
		fRules->english_name = in.text("the country's English name");
	}

	void zone(reader& in)
	{
		if (!fRules->zone.empty())
			throw fault{"'zone' given twice"};
		fRules->zone = in.word("a time zone");
		if (BTimeZone(fRules->zone.c_str()).InitCheck() != B_OK)
			throw fault{"'" + fRules->zone + "' is not a time zone known here"};
	}

	void years(reader& in)
	{
		if (fRules->first_year != 0)
			throw fault{"'years' given twice"};
		fRules->first_year = year_of(in.word("the first year"));
		fRules->last_year = year_of(in.word("the last year"));
		if (fRules->first_year > fRules->last_year)
			throw fault{"the years run backwards"};
	}

	void region(reader& in)
	{
		holiday_region r;
		r.code = in.word("a region's code");
		if (r.code.empty() || r.code.size() > 3
			|| !std::all_of(r.code.begin(), r.code.end(),
				[](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }))
			throw fault{"'" + r.code + "' is not a region code (1 to 3 capitals or digits)"};
		if (find_region(r.code))
			throw fault{"region " + r.code + " given twice"};
		r.local_name = in.text("the region's name");
		r.english_name = in.text("the region's English name");
		fRules->regions.push_back(r);
	}

	bool find_region(const std::string& code) const
	{
		for (const holiday_region& r : fRules->regions) {
			if (r.code == code)
				return true;
		}
		return false;
	}

	std::vector<std::string> region_list(const std::string& list)
	{
		std::vector<std::string> codes;
		std::stringstream in(list);
		std::string code;
		while (std::getline(in, code, ',')) {
			if (!find_region(code))
				throw fault{"'" + code + "' is not a region declared in the header"};
			codes.push_back(code);
		}
		if (codes.empty() || list.back() == ',')
			throw fault{"a list of regions is malformed"};
		return codes;
	}

	void substitute(reader& in)
	{
		substitute_default s;
		s.steps = read_steps(in);
		bool seenFrom = false, seenTo = false;
		while (read_range(in, &s.range, &seenFrom, &seenTo)) {
		}
		fRules->substitutes.push_back(s);
	}

	void bridge(reader& in)
	{
		bridge_default b;
		if (in.next_is("except")) {
			in.word("except");
			b.except_weekdays = weekday_list(in.word("weekdays"));
		}
		bool seenFrom = false, seenTo = false;
		while (read_range(in, &b.range, &seenFrom, &seenTo)) {
		}
		fRules->bridges.push_back(b);
	}

	void on(reader& in, int line)
	{
		// Far more than any country needs, and few enough to compute a year at once.
		const size_t kMostHolidays = 1000;
		if (fRules->rules.size() >= kMostHolidays)
			throw fault{"more than " + std::to_string(kMostHolidays) + " holiday lines"};
		fSeenOn = true;
		holiday_rule rule;
		rule.line = line;
		rule.date = read_date(in);
		bool seenFrom = false, seenTo = false, seenRegions = false, seenIf = false;
		while (!in.next_is(":")) {
			if (read_range(in, &rule.range, &seenFrom, &seenTo))
				continue;
			const std::string q = in.word("a qualifier or ':'");
			if (q == "in" || q == "except") {
				if (seenRegions)
					throw fault{"only one 'in' or 'except' per line"};
				seenRegions = true;
				rule.except = q == "except";
				rule.regions = region_list(in.word("regions"));
			} else if (q == "if") {
				if (seenIf)
					throw fault{"'if' given twice"};
				seenIf = true;
				rule.weekdays = weekday_list(in.word("weekdays"));
				if (in.next_is("else")) {
					in.word("else");
					rule.has_else = true;
					rule.else_date = read_date(in);
				}
			} else if (q == "observe" || q == "move") {
				if (rule.own_substitutes)
					throw fault{"only one 'observe' or 'move' per line"};
				rule.own_substitutes = true;
				if (q == "observe" && in.next_is("none"))
					in.word("none");
				else
					(q == "move" ? rule.move : rule.observe) = read_steps(in);
			} else {
				throw fault{"'" + q + "' is not a qualifier (from to in except if observe move)"};
			}
		}
		read_names(in, &rule.local_name, &rule.english_name, &rule.translations);
		fRules->rules.push_back(rule);
	}

	// name substitute|bridge : "Local name" "English name" [ll:"name"]...
	void name(reader& in)
	{
		const std::string what = in.word("'substitute' or 'bridge'");
		if (what != "substitute" && what != "bridge")
			throw fault{"'" + what + "' is not a kind of day to name (substitute bridge)"};
		day_name& named = what == "substitute" ? fRules->substitute_name : fRules->bridge_name;
		if (!named.empty())
			throw fault{"the " + what + " days are named twice"};
		read_names(in, &named.local_name, &named.english_name, &named.translations);
	}

	// The names that end a line: ':', the local name, the English name, and translations
	// ll:"name".
	static void read_names(reader& in, std::string* local, std::string* english,
		std::vector<std::pair<std::string, std::string>>* translations)
	{
		if (in.word("':'") != ":")
			throw fault{"expected ':' before the names"};
		*local = in.text("the local name");
		*english = in.text("the English name");
		while (!in.at_end()) {
			const token& t = in.any();
			if (!t.has_quote || t.word.size() != 3 || t.word[2] != ':' || t.word[0] < 'a'
				|| t.word[0] > 'z' || t.word[1] < 'a' || t.word[1] > 'z' || t.quoted.empty())
				throw fault{"expected a translation ll:\"name\""};
			translations->push_back({t.word.substr(0, 2), t.quoted});
		}
	}

	holiday_rules* fRules;
	bool fSeenOn = false;
	int fLine = 0;
	int fCountryLine = 0;
};

} // namespace

bool parse_holiday_rules(
	const std::string& text, const std::string& file_name, holiday_rules* rules, std::string* error)
{
	holiday_rules parsed;
	file_parser parser(&parsed);
	// A byte order mark that some editors write is no part of the first line.
	const bool marked = text.compare(0, 3, "\xef\xbb\xbf") == 0;
	std::istringstream in(marked ? text.substr(3) : text);
	std::string line;
	int number = 0;
	try {
		while (std::getline(in, line)) {
			number++;
			std::vector<token> tokens;
			std::string message;
			if (!split_line(line, &tokens, &message))
				throw fault{message};
			if (tokens.empty())
				continue;
			reader r(tokens);
			parser.statement(r, number);
		}
		number = std::max(number, 1);
		parser.finish();
		// A country's file is named after its code: de.rules holds DE.
		std::string code = parsed.code;
		for (char& c : code)
			c = char(c - 'A' + 'a');
		if (file_name.size() > 6 && file_name.compare(file_name.size() - 6, 6, ".rules") == 0
			&& file_name != code + ".rules") {
			number = parser.country_line();
			throw fault{"the country " + parsed.code + " belongs in " + code + ".rules"};
		}
	} catch (const fault& f) {
		*error = file_name + ":" + std::to_string(number) + ": " + f.message;
		return false;
	}
	*rules = std::move(parsed);
	return true;
}

bool read_holiday_rules(const std::string& path, holiday_rules* rules, std::string* error)
{
	const std::string name = path.substr(path.find_last_of('/') + 1);
	std::ifstream file(path, std::ios::binary);
	if (!file) {
		*error = name + ": cannot be read";
		return false;
	}
	// Read in pieces up to the limit, so that neither a long file nor one that grows is
	// taken whole.
	const size_t kLimit = 1 << 20;
	std::string text;
	char piece[16384];
	while (file.read(piece, sizeof piece) || file.gcount() > 0) {
		text.append(piece, size_t(file.gcount()));
		if (text.size() > kLimit) {
			*error = name + ": larger than a megabyte, not a rule file";
			return false;
		}
	}
	return parse_holiday_rules(text, name, rules, error);
}
