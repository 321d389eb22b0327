#include "engine/regional_settings.h"

#include <algorithm>
#include <vector>

#include "engine/platform/platform.h"

namespace engine {
namespace {

// One piece of a strftime format: literal text, or a directive such as "%-m".
struct TFormatToken {
    bool isLiteral = false;
    std::string text;     // the literal text
    char conversion = 0;  // the directive's letter, E/O modifiers and flags taken off
    bool unpadded = false; // the "-" flag
};

constexpr std::string_view PosixTwelveHourTime = "%I:%M:%S %p";

std::string_view Expansion(char conversion, std::string_view twelveHourTime) {
    switch (conversion) {
    case 'D': return "%m/%d/%y";
    case 'F': return "%Y-%m-%d";
    case 'T': return "%H:%M:%S";
    case 'R': return "%H:%M";
    case 'r': return twelveHourTime;
    default: return {};
    }
}

bool IsFlagOrModifier(char c) {
    return std::string_view("-_0^#123456789EO").find(c) != std::string_view::npos;
}

void AppendLiteral(std::vector<TFormatToken>& tokens, std::string_view text) {
    if (tokens.empty() || !tokens.back().isLiteral) tokens.push_back({true, {}, 0, false});
    tokens.back().text += text;
}

// Cuts `format` into tokens, replacing %D, %F, %T, %R and %r by what they stand for; %r
// stands for `twelveHourTime`, whose own %r is the POSIX form.
void Tokenize(std::string_view format, std::string_view twelveHourTime,
              std::vector<TFormatToken>& tokens) {
    std::size_t at = 0;
    while (at < format.size()) {
        if (format[at] != '%') {
            const std::size_t next = std::min(format.find('%', at), format.size());
            AppendLiteral(tokens, format.substr(at, next - at));
            at = next;
            continue;
        }
        bool unpadded = false;
        ++at;
        while (at < format.size() && IsFlagOrModifier(format[at])) unpadded |= format[at++] == '-';
        if (at == format.size()) break;
        const char conversion = format[at++];
        const std::string_view expansion = Expansion(conversion, twelveHourTime);
        if (conversion == '%') AppendLiteral(tokens, "%");
        else if (!expansion.empty()) Tokenize(expansion, PosixTwelveHourTime, tokens);
        else tokens.push_back({false, {}, conversion, unpadded});
    }
}

std::vector<TFormatToken> Tokenize(std::string_view format, std::string_view twelveHourTime) {
    std::vector<TFormatToken> tokens;
    Tokenize(format, twelveHourTime.empty() ? PosixTwelveHourTime : twelveHourTime, tokens);
    return tokens;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNonAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// A literal run as pattern text: quoted when it holds a letter, a non-ASCII character or a
// quote, each quote character inside the other kind of quotes.
std::string QuoteLiteral(std::string_view text) {
    const bool needsQuotes = std::any_of(text.begin(), text.end(), [](char c) {
        return IsAsciiLetter(c) || IsNonAscii(c) || c == '\'' || c == '"';
    });
    if (!needsQuotes) return std::string(text);
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
    quoted += open;
    return quoted;
}

std::string_view DateElementOf(const TFormatToken& token) {
    switch (token.conversion) {
    case 'Y': case 'G': return "yyyy";
    case 'y': case 'g': return "yy";
    case 'm': return token.unpadded ? "m" : "mm";
    case 'd': return token.unpadded ? "d" : "dd";
    case 'e': return "d";
    case 'b': case 'h': return "mmm";
    case 'B': return "mmmm";
    case 'a': return "ddd";
    case 'A': return "dddd";
    default: return {};
    }
}

bool IsNumericDateField(char conversion) {
    return std::string_view("YGygmde").find(conversion) != std::string_view::npos;
}

// A literal usable as a separator: one byte, no letter or digit.
char SeparatorOf(std::string_view literal) {
    if (literal.size() != 1) return '\0';
    const char c = literal[0];
    return IsAsciiLetter(c) || IsAsciiDigit(c) || IsNonAscii(c) ? '\0' : c;
}

std::string Trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return std::string(text);
}

template <std::size_t N>
void TakeNames(std::array<std::string, N>& names, const std::array<std::string, N>& preferred,
               const std::array<std::string, N>& fallback) {
    for (std::size_t i = 0; i < N; ++i) {
        std::string name = Trimmed(preferred[i]);
        if (name.empty()) name = Trimmed(fallback[i]);
        if (!name.empty()) names[i] = std::move(name);
    }
}

} // namespace

std::string ConvertDateFormat(std::string_view format) {
    std::string pattern;
    for (const TFormatToken& token : Tokenize(format, {})) {
        const std::string piece = token.isLiteral ? QuoteLiteral(token.text)
                                                  : std::string(DateElementOf(token));
        // Two elements of the same letter side by side would read as one longer element.
        if (!piece.empty() && !pattern.empty() && !token.isLiteral && pattern.back() == piece[0])
            pattern += "''";
        pattern += piece;
    }
    return pattern;
}

char DateSeparatorOf(std::string_view format) {
    const std::vector<TFormatToken> tokens = Tokenize(format, {});
    const auto first = std::find_if(tokens.begin(), tokens.end(), [](const TFormatToken& t) {
        return !t.isLiteral && IsNumericDateField(t.conversion);
    });
    if (first == tokens.end() || first + 2 >= tokens.end()) return '\0';
    const TFormatToken& between = first[1];
    const TFormatToken& second = first[2];
    if (!between.isLiteral || second.isLiteral || !IsNumericDateField(second.conversion))
        return '\0';
    return SeparatorOf(between.text);
}

TTimeFormatFacts TimeFormatFactsOf(std::string_view timeFormat, std::string_view ampmFormat) {
    TTimeFormatFacts facts;
    const auto isHour = [](const TFormatToken& t) {
        return !t.isLiteral && (t.conversion == 'H' || t.conversion == 'I' ||
                                t.conversion == 'k' || t.conversion == 'l');
    };
    const std::vector<TFormatToken> ampmTokens = Tokenize(ampmFormat, {});
    for (const TFormatToken& token : ampmTokens) {
        if (isHour(token)) break;
        if (!token.isLiteral && (token.conversion == 'p' || token.conversion == 'P'))
            facts.AmPmFirst = true;
    }
    const std::vector<TFormatToken> tokens = Tokenize(timeFormat, ampmFormat);
    if (timeFormat.empty()) return facts;
    facts.TwelveHour = std::any_of(tokens.begin(), tokens.end(), [](const TFormatToken& t) {
        return !t.isLiteral && (t.conversion == 'I' || t.conversion == 'l');
    });
    const auto hour = std::find_if(tokens.begin(), tokens.end(), isHour);
    if (hour == tokens.end()) return facts;
    facts.HourLeadingZero = (hour->conversion == 'H' || hour->conversion == 'I') && !hour->unpadded;
    if (hour + 2 < tokens.end() && hour[1].isLiteral && !hour[2].isLiteral &&
        hour[2].conversion == 'M')
        facts.TimeSeparator = SeparatorOf(hour[1].text);
    return facts;
}

std::string BuildTimePattern(const TTimeFormatFacts& facts, bool withSeconds) {
    std::string pattern = facts.HourLeadingZero ? "hh" : "h";
    pattern += withSeconds ? ":mm:ss" : ":mm";
    if (!facts.TwelveHour) return pattern;
    return facts.AmPmFirst ? "AMPM " + pattern : pattern + " AMPM";
}

std::string AdjustForEra(std::string pattern, std::string_view localeName) {
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
    if (language != "zh" && language != "ja" && language != "ko") return pattern;
    std::erase_if(pattern, [](char c) { return c == 'g' || c == 'G'; });
    return pattern;
}

TFormatSettings BuildFormatSettings(const TLocaleTexts& texts) {
    TFormatSettings settings;
    if (std::string shortDate = ConvertDateFormat(texts.DateFormat); !shortDate.empty())
        settings.ShortDatePattern = std::move(shortDate);
    settings.ShortDatePattern = AdjustForEra(settings.ShortDatePattern, texts.LocaleName);
    settings.LongDatePattern = AdjustForEra(settings.LongDatePattern, texts.LocaleName);
    if (const char separator = DateSeparatorOf(texts.DateFormat))
        settings.DateSeparator = separator;
    const TTimeFormatFacts facts = TimeFormatFactsOf(texts.TimeFormat, texts.TimeFormatAmPm);
    if (facts.TimeSeparator) settings.TimeSeparator = facts.TimeSeparator;
    settings.LongTimePattern = BuildTimePattern(facts, true);
    settings.ShortTimePattern = BuildTimePattern(facts, false);
    if (!texts.AmText.empty()) settings.TimeAMString = texts.AmText;
    if (!texts.PmText.empty()) settings.TimePMString = texts.PmText;
    TakeNames(settings.LongMonthNames, texts.AltMonthNames, texts.MonthNames);
    TakeNames(settings.ShortMonthNames, texts.ShortAltMonthNames, texts.ShortMonthNames);
    TakeNames(settings.LongDayNames, texts.DayNames, texts.DayNames);
    TakeNames(settings.ShortDayNames, texts.ShortDayNames, texts.ShortDayNames);
    return settings;
}

TFormatSettings ReadRegionalSettings() { return BuildFormatSettings(platform::ReadLocaleTexts()); }

} // namespace engine
