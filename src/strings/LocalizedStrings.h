#pragma once
// The built-in tables of localized texts: message texts and standard button
// captions, one table per language, chosen at the moment of each lookup.

#include <cstdint>
#include <string>
#include <vector>

namespace LocalizedStrings {

struct Entry {
    std::uint32_t id;
    std::wstring text;
};

enum Language { English = 0, Spanish = 1 };

// Read by every lookup; 1 selects Spanish, any other value English.
extern int currentLanguage;

extern const std::vector<Entry> englishTable;
extern const std::vector<Entry> spanishTable;

// A copy of the text of the first entry with this id in the current
// language's table, or an empty string.
std::wstring Get(std::uint32_t id);

// Get(id) without everything up to and including its first line feed.
std::wstring GetAfterLineBreak(std::uint32_t id);

}  // namespace LocalizedStrings
