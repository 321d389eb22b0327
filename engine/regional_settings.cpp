#include "engine/regional_settings.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

// One piece of a Qt date or time format: a field ("yyyy", "M", "HH", "AP") or literal text.
struct TFormatToken {
    char field = 0;        // the field's first letter; 0 for literal text
    std::size_t count = 0; // the field's length in letters
    std::string text;      // literal text, Qt's quoting resolved
    bool quoted = false;   // literal text that Qt had in quotes
};

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNonAscii(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// How many of the `run` equal letters at the start of a run Qt reads as one field; 0 when it
// reads the first letter as literal text.
std::size_t QtFieldLength(std::string_view format, std::size_t at, std::size_t run) {
    switch (format[at]) {
    case 'y':
        return run >= 4 ? 4 : run >= 2 ? 2 : 0;
    case 'M':
    case 'd':
        return std::min<std::size_t>(run, 4);
    case 'h':
    case 'H':
    case 'm':
    case 's':
        return std::min<std::size_t>(run, 2);
    case 'z':
        return run >= 3 ? 3 : 1;
    case 't':
        return 1;
    case 'a':
    case 'A': // "AP", "ap" or a lone "A", "a"
        return at + 1 < format.size() && (format[at + 1] == 'p' || format[at + 1] == 'P') ? 2 : 1;
    default:
        return 0;
    }
}

void AppendLiteral(std::vector<TFormatToken>& tokens, std::string_view text, bool quoted) {
    if (quoted || tokens.empty() || tokens.back().field || tokens.back().quoted)
        tokens.push_back({0, 0, {}, quoted});
    tokens.back().text += text;
}

// Qt's quoted text starting at the quote at `at`: "''" is a quote character, inside quotes as
// well; an unclosed quote runs to the end. Returns where the next piece starts.
std::size_t ReadQuoted(std::string_view format, std::size_t at, std::vector<TFormatToken>& tokens) {
    if (at + 1 < format.size() && format[at + 1] == '\'') {
        AppendLiteral(tokens, "'", true);
        return at + 2;
    }
    std::string text;
    for (++at; at < format.size(); ++at) {
        if (format[at] != '\'')
            text += format[at];
        else if (at + 1 < format.size() && format[at + 1] == '\'')
            text += format[++at];
        else
            break;
    }
    AppendLiteral(tokens, text, true);
    return std::min(at + 1, format.size());
}

std::vector<TFormatToken> Tokenize(std::string_view format) {
    std::vector<TFormatToken> tokens;
    std::size_t at = 0;
    while (at < format.size()) {
        if (format[at] == '\'') {
            at = ReadQuoted(format, at, tokens);
            continue;
        }
        std::size_t run = 1;
        while (at + run < format.size() && format[at + run] == format[at])
            ++run;
        const std::size_t length = IsAsciiLetter(format[at]) ? QtFieldLength(format, at, run) : 0;
        if (length == 0) {
            AppendLiteral(tokens, format.substr(at++, 1), false);
        } else {
            tokens.push_back({format[at], length, {}, false});
            at += length;
        }
    }
    return tokens;
}

// Literal text as pattern text: quoted when Qt quoted it or it holds a letter (any non-ASCII
// character counts as one) or a quote, each quote character inside the other kind of quotes.
std::string PatternLiteral(const TFormatToken& token) {
    const std::string& text = token.text;
    const bool needsQuotes = token.quoted || std::any_of(text.begin(), text.end(), [](char c) {
                                 return IsAsciiLetter(c) || IsNonAscii(c) || c == '\'' || c == '"';
                             });
    if (!needsQuotes || text.empty()) return text;
    std::string quoted;
    char open = 0;
    for (const char c : text) {
        const char want = c == '\'' ? '"' : c == '"' ? '\'' : open ? open : '\'';
        if (want != open) {
            if (open) quoted += open;
            quoted += want;
            open = want;
        }
        quoted += c;
    }
    return quoted + open;
}

// The date pattern element of a Qt date field, or empty for a field that is no date field.
std::string DateElementOf(const TFormatToken& token) {
    switch (token.field) {
    case 'y':
        return std::string(token.count, 'y');
    case 'M':
        return std::string(token.count, 'm');
    case 'd':
        return std::string(token.count, 'd');
    default:
        return {};
    }
}

bool IsNumericDateField(const TFormatToken& token) {
    return token.field == 'y' || ((token.field == 'M' || token.field == 'd') && token.count <= 2);
}

bool IsHourField(const TFormatToken& token) {
    return token.field == 'h' || token.field == 'H';
}

// The separator that the literals between `first` and the next field make, when that field
// passes `isNext`: one ASCII character that is no letter or digit; else '\0'.
template <typename TIsNext>
char SeparatorAfter(const std::vector<TFormatToken>& tokens,
                    std::vector<TFormatToken>::const_iterator first, TIsNext isNext) {
    if (first == tokens.end()) return '\0';
    std::string between;
    auto next = first + 1;
    for (; next != tokens.end() && !next->field; ++next)
        between += next->text;
    if (next == tokens.end() || !isNext(*next) || between.size() != 1) return '\0';
    const char c = between[0];
    return IsAsciiLetter(c) || IsAsciiDigit(c) || IsNonAscii(c) ? '\0' : c;
}

} // namespace

std::string ConvertDateFormat(std::string_view format) {
    std::string pattern;
    for (const TFormatToken& token : Tokenize(format)) {
        std::string piece = DateElementOf(token);
        if (piece.empty()) {
            // A field that is no date field reads as its letters.
            pattern += PatternLiteral(
                token.field ? TFormatToken{0, 0, std::string(token.count, token.field)} : token);
            continue;
        }
        // Two elements of one letter side by side would read as one longer element.
        if (!pattern.empty() && pattern.back() == piece[0]) pattern += "''";
        pattern += piece;
    }
    return pattern;
}

char DateSeparatorOf(std::string_view format) {
    const std::vector<TFormatToken> tokens = Tokenize(format);
    return SeparatorAfter(tokens, std::find_if(tokens.begin(), tokens.end(), IsNumericDateField),
                          IsNumericDateField);
}

TTimeFormatFacts TimeFormatFactsOf(std::string_view timeFormat) {
    TTimeFormatFacts facts;
    if (timeFormat.empty()) return facts;
    const std::vector<TFormatToken> tokens = Tokenize(timeFormat);
    const auto hour = std::find_if(tokens.begin(), tokens.end(), IsHourField);
    const auto ampm = std::find_if(tokens.begin(), tokens.end(), [](const TFormatToken& t) {
        return t.field == 'a' || t.field == 'A';
    });
    facts.TwelveHour = ampm != tokens.end();
    facts.HourLeadingZero = hour != tokens.end() && hour->count == 2;
    facts.AmPmFirst = facts.TwelveHour && hour != tokens.end() && ampm < hour;
    facts.TimeSeparator =
        SeparatorAfter(tokens, hour, [](const TFormatToken& t) { return t.field == 'm'; });
    return facts;
}

std::string BuildTimePattern(const TTimeFormatFacts& facts, bool withSeconds) {
    std::string pattern = facts.HourLeadingZero ? "hh" : "h";
    pattern += withSeconds ? ":mm:ss" : ":mm";
    if (!facts.TwelveHour) return pattern;
    return facts.AmPmFirst ? "AMPM " + pattern : pattern + " AMPM";
}

TFormatSettings FormatSettingsFromLocale(const TLocaleConventions& locale) {
    TFormatSettings settings;
    if (!locale.ShortDateFormat.empty())
        settings.ShortDatePattern = ConvertDateFormat(locale.ShortDateFormat);
    if (!locale.LongDateFormat.empty())
        settings.LongDatePattern = ConvertDateFormat(locale.LongDateFormat);
    if (const char separator = DateSeparatorOf(locale.ShortDateFormat))
        settings.DateSeparator = separator;
    if (!locale.LongTimeFormat.empty()) {
        const TTimeFormatFacts facts = TimeFormatFactsOf(locale.LongTimeFormat);
        if (facts.TimeSeparator) settings.TimeSeparator = facts.TimeSeparator;
        settings.LongTimePattern = BuildTimePattern(facts, true);
        settings.ShortTimePattern = BuildTimePattern(facts, false);
    }
    if (!locale.AmText.empty()) settings.TimeAMString = locale.AmText;
    if (!locale.PmText.empty()) settings.TimePMString = locale.PmText;
    const auto take = [](auto& names, const auto& given) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (!given[i].empty()) names[i] = given[i];
    };
    take(settings.LongMonthNames, locale.LongMonthNames);
    take(settings.ShortMonthNames, locale.ShortMonthNames);
    take(settings.LongDayNames, locale.LongDayNames);
    take(settings.ShortDayNames, locale.ShortDayNames);
    return settings;
}

} // namespace engine
