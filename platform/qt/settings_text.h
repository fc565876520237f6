#pragma once

#include <QVariant>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glugmo {

// A stored setting as the text the behaviour reads: "true"/"false" for a
// boolean, the shortest text that reads back to the same double for a number,
// a list joined with ", ", strings as they are. Nothing for an absent value
// or one that has no textual form.
std::optional<std::string> settingText(const QVariant& value);

// Glugmo.conf as QSettings' INI format has it, read the way QSettings reads
// it, but keeping every value as the bytes it was written as: a key this
// program does not know goes back to disk exactly as it came.
struct IniEntry {
    std::string section;  // as in its [header], empty before the first one
    std::string key;      // as written, up to the '='
    std::string value;    // everything after the '=' of its line(s)
    // False for junk that, written back on its own, would not end where it
    // did (a quote left open, a backslash at the very end) and would
    // swallow the lines after it.
    bool writable = true;
    // The key without the blanks around it, as it is looked up.
    std::string_view name() const;
};

struct IniText {
    std::vector<IniEntry> entries;  // in file order, each key once
    bool wellFormed = true;         // false when a line was not understood
};

IniText parseIni(std::string_view bytes);

// The file for the writable entries: sections in order of first appearance,
// one "key=value" line per entry, keys outside any section under [General].
std::string composeIni(const std::vector<IniEntry>& entries);

// Whether a raw section header is QSettings' top level ([General], any case).
bool isGeneralSection(std::string_view section);

// A raw value decoded as QSettings decodes it: quotes, escapes, lists split
// at commas, and the "@Type(...)" forms it writes.
QVariant iniValue(std::string_view raw);

}  // namespace glugmo
