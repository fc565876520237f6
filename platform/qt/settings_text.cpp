#include "platform/qt/settings_text.h"

#include <QByteArray>
#include <QDataStream>
#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace glugmo {

std::optional<std::string> settingText(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return std::nullopt;
    switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool() ? "true" : "false";
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                .toStdString();
        case QMetaType::QStringList:
            return value.toStringList().join(QStringLiteral(", ")).toStdString();
        default:
            break;
    }
    if (!value.canConvert<QString>()) return std::nullopt;
    return value.toString().toStdString();
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

int digitValue(char c, int base) {
    int digit = base;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// The character a backslash sequence stands for; `i` is just past the
// backslash and moves past the sequence. A backslash before a line break
// continues the value on the next line.
QString unescaped(std::string_view raw, std::size_t& i) {
    const char c = raw[i++];
    switch (c) {
        case 'a': return QStringLiteral("\a");
        case 'b': return QStringLiteral("\b");
        case 'f': return QStringLiteral("\f");
        case 'n': return QStringLiteral("\n");
        case 'r': return QStringLiteral("\r");
        case 't': return QStringLiteral("\t");
        case 'v': return QStringLiteral("\v");
        case '\\':
        case '"':
        case '\'':
        case '?':
            return QString(QChar(c));
        case '\n':
        case '\r':
            if (i < raw.size() && isLineEnd(raw[i]) && raw[i] != c) ++i;
            return {};
        default:
            break;
    }
    const int base = c == 'x' ? 16 : digitValue(c, 8) >= 0 ? 8 : 0;
    if (base == 0) return {};  // no such escape: QSettings drops it
    char32_t code = base == 8 ? static_cast<char32_t>(c - '0') : 0;
    const std::size_t first = i;
    for (int digit; i < raw.size() && (digit = digitValue(raw[i], base)) >= 0; ++i)
        code = (code * base + static_cast<char32_t>(digit)) & 0xffff;
    if (base == 16 && i == first) return {};  // "\x" without a digit stands for nothing
    return QString(QChar(static_cast<char16_t>(code)));
}

// The "@Type(...)" forms QSettings writes for what is not plain text.
QVariant typedValue(const QString& text) {
    if (!text.startsWith(u'@')) return text;
    if (text.startsWith(QStringLiteral("@@"))) return text.mid(1);
    if (!text.endsWith(u')')) return text;
    const auto inside = [&](QLatin1StringView prefix) {
        return text.mid(prefix.size(), text.size() - prefix.size() - 1);
    };
    if (text == QStringLiteral("@Invalid()")) return {};
    if (text.startsWith(QLatin1StringView("@String("))) return inside(QLatin1StringView("@String("));
    if (text.startsWith(QLatin1StringView("@ByteArray(")))
        return inside(QLatin1StringView("@ByteArray(")).toLatin1();
    if (text.startsWith(QLatin1StringView("@Variant("))) {
        const QByteArray bytes = inside(QLatin1StringView("@Variant(")).toLatin1();
        QDataStream stream(bytes);
        stream.setVersion(QDataStream::Qt_4_0);
        QVariant value;
        stream >> value;
        return value;
    }
    // Rectangles, sizes, points, dates: nothing the settings read as text.
    for (const char* form : {"@Rect(", "@Size(", "@Point(", "@DateTime("}) {
        if (text.startsWith(QLatin1StringView(form))) return {};
    }
    return text;
}

// Whether a line written on its own ends where it seems to: no quote left
// open and no backslash taking the line break with it. Junk read back from
// a broken file may not, and would swallow the lines after it.
bool standsAlone(std::string_view line) {
    if (!line.empty() && isLineEnd(line.back())) return false;  // continued, but cut off there
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        else if (line[i] == '\\' && ++i == line.size()) return false;
    }
    return !quoted;
}

}  // namespace

std::string_view IniEntry::name() const { return trimmed(key); }

IniText parseIni(std::string_view bytes) {
    IniText text;
    std::string section;
    bool sectionStandsAlone = true;
    std::size_t i = 0;
    const std::size_t end = bytes.size();
    while (i < end) {
        while (i < end && (isLineEnd(bytes[i]) || isBlank(bytes[i]))) ++i;
        if (i == end) break;
        if (bytes[i] == ';') {  // a comment, to the end of its line
            while (i < end && !isLineEnd(bytes[i])) ++i;
            continue;
        }
        // A line ends at a break or a ';' outside quotes; a backslash takes
        // the next character with it, a line break included.
        const std::size_t start = i;
        std::size_t equals = std::string_view::npos;
        bool quoted = false;
        for (; i < end; ++i) {
            const char c = bytes[i];
            if (!quoted && (isLineEnd(c) || c == ';')) break;
            if (c == '"') {
                quoted = !quoted;
            } else if (c == '\\' && i + 1 < end) {
                ++i;
                if (i + 1 < end && isLineEnd(bytes[i]) && isLineEnd(bytes[i + 1]) &&
                    bytes[i] != bytes[i + 1])
                    ++i;
            } else if (c == '=' && equals == std::string_view::npos) {
                equals = i - start;
            }
        }
        const std::string_view line = bytes.substr(start, i - start);

        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) text.wellFormed = false;
            const std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
            section = isGeneralSection(name) ? std::string() : std::string(name);
            sectionStandsAlone = standsAlone(name) && name.find(']') == std::string_view::npos;
            if (!sectionStandsAlone) text.wellFormed = false;
            continue;
        }
        if (equals == std::string_view::npos) {
            text.wellFormed = false;
            continue;
        }
        // The key keeps its blanks: a backslash before one would otherwise
        // take the '=' with it when written back.
        IniEntry entry{section, std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)),
                       sectionStandsAlone && standsAlone(line)};
        if (!entry.writable) text.wellFormed = false;
        // A key given twice counts with its last value, as QSettings reads it.
        const auto same = std::find_if(text.entries.begin(), text.entries.end(), [&](const IniEntry& e) {
            return e.section == entry.section && e.name() == entry.name();
        });
        if (same != text.entries.end()) *same = std::move(entry);
        else text.entries.push_back(std::move(entry));
    }
    return text;
}

std::string composeIni(const std::vector<IniEntry>& entries) {
    std::vector<std::string> sections;
    for (const IniEntry& entry : entries) {
        if (entry.writable && std::find(sections.begin(), sections.end(), entry.section) == sections.end())
            sections.push_back(entry.section);
    }
    // The top level first, as QSettings writes it.
    std::stable_partition(sections.begin(), sections.end(), [](const std::string& s) { return s.empty(); });
    std::string file;
    for (const std::string& section : sections) {
        if (!file.empty()) file += '\n';
        file += '[' + (section.empty() ? std::string("General") : section) + "]\n";
        for (const IniEntry& entry : entries) {
            if (entry.section == section && entry.writable) file += entry.key + '=' + entry.value + '\n';
        }
    }
    return file;
}

bool isGeneralSection(std::string_view section) {
    return section.empty() || QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size()))
                                      .compare(QStringLiteral("general"), Qt::CaseInsensitive) == 0;
}

QVariant iniValue(std::string_view raw) {
    QStringList items;
    QString item;
    std::string plain;  // bytes not yet decoded into `item`
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;  // a value with quotes in it keeps its blanks
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < raw.size() && isBlank(raw[i])) ++i;
    };
    const auto decodePlain = [&] {
        item += QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size()));
        plain.clear();
    };
    // Blanks at the end go, unless quoted or escaped.
    const auto finishItem = [&] {
        if (!quoted) {
            while (!plain.empty() && isBlank(plain.back())) plain.pop_back();
        }
        decodePlain();
    };
    skipBlanks();
    while (i < raw.size()) {
        const char c = raw[i++];
        if (c == '\\' && i < raw.size()) {
            decodePlain();
            item += unescaped(raw, i);
        } else if (c == '"') {
            decodePlain();
            inQuotes = !inQuotes;
            quoted = true;
            if (!inQuotes) skipBlanks();
        } else if (c == ',' && !inQuotes) {
            finishItem();
            items.append(std::exchange(item, QString()));
            isList = true;
            quoted = false;
            skipBlanks();
        } else {
            plain += c;
        }
    }
    finishItem();
    if (!isList) return typedValue(item);
    items.append(item);
    // In a list "@@" stands for "@"; any other "@" makes it a list of values.
    for (QString& element : items) {
        if (!element.startsWith(u'@')) continue;
        if (!element.startsWith(QStringLiteral("@@"))) {
            QVariantList typed;
            for (const QString& each : items) typed.append(typedValue(each));
            return typed;
        }
        element.remove(0, 1);
    }
    return items;
}

}  // namespace glugmo
