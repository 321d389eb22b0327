// Date patterns rendered from a broken-down local time, with no clock, locale or disk.
// No era calendar comes with the regional settings, so "e" renders the year and "g" nothing.

#include "engine/engine.h"

#include <charconv>
#include <cstddef>

#include "engine/name_units.h"

namespace engine {
namespace {

constexpr std::size_t MaxRenderedBytes = 256;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
bool IsLetter(char c) {
    return Lower(c) >= 'a' && Lower(c) <= 'z';
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != word[i]) return false;
    return true;
}

// Length of the AM/PM element ("am/pm", "a/p", "ampm") starting at `at`, or 0.
std::size_t AmPmElementLength(std::string_view pattern, std::size_t at) {
    for (std::string_view form : {"am/pm", "a/p", "ampm"})
        if (StartsWithNoCase(pattern, at, form)) return form.size();
    return 0;
}

// Whether, from `at` on, the first unquoted "a" starts an AM/PM element before the next "h".
// Quotes hide an "a" but not an "h": the look-ahead stops at an "h" inside quotes too.
bool AmPmFollows(std::string_view pattern, std::size_t at) {
    char quote = 0; // the quote that opened the quoted text being crossed, or 0
    for (; at < pattern.size(); ++at) {
        const char c = Lower(pattern[at]);
        if (c == 'h') return false;
        if (quote != 0) {
            if (c == quote) quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == 'a') {
            return AmPmElementLength(pattern, at) != 0;
        }
    }
    return false;
}

// The rendered text, held to just past the cut so that no rendering allocates while it grows.
class TTextBuffer {
public:
    bool Full() const { return m_size > MaxRenderedBytes; }
    void Append(std::string_view text) {
        const std::size_t room = sizeof m_data - m_size;
        const std::size_t length = text.size() < room ? text.size() : room;
        text.copy(m_data + m_size, length);
        m_size += length;
    }
    void Append(char c) {
        if (m_size < sizeof m_data) m_data[m_size++] = c;
    }
    // The text cut at MaxRenderedBytes, never inside a multi-byte character. The buffer's
    // spare bytes hold the whole of any character that starts before the cut.
    std::string Text() const {
        const std::string_view text(m_data, m_size);
        if (!Full()) return std::string(text);
        std::size_t end = 0;
        while (end + UnitLength(text, end) <= MaxRenderedBytes)
            end += UnitLength(text, end);
        return std::string(text.substr(0, end));
    }

private:
    char m_data[MaxRenderedBytes + 4];
    std::size_t m_size = 0;
};

class TDateRenderer {
public:
    TDateRenderer(const TDateTime& when, const TFormatSettings& settings, TTextBuffer& out)
        : m_when(when), m_settings(settings), m_out(out) {}

    // Renders `pattern`; `nested` patterns render their inserting elements as nothing.
    void Render(std::string_view pattern, bool nested);
    void RenderDateAndTime(bool nested);

private:
    bool Full() const { return m_out.Full(); }
    void Number(int value, int digits);
    void Insert(std::string_view pattern, bool nested);
    std::size_t Letter(std::string_view pattern, std::size_t at, bool nested);
    void LetterRun(char original, std::size_t count, bool nested);
    std::size_t LetterA(std::string_view pattern, std::size_t at);
    void Hour(std::size_t count);
    int TwelveHour() const { return m_when.Hour % 12 == 0 ? 12 : m_when.Hour % 12; }

    const TDateTime& m_when;
    const TFormatSettings& m_settings;
    TTextBuffer& m_out;
    bool m_twelveHour = false;
    bool m_afterHour = false; // the nearest letter element so far was an hour
};

void TDateRenderer::Number(int value, int digits) {
    char text[16];
    // The magnitude is taken unsigned, where negating INT_MIN is defined.
    const auto bits = static_cast<unsigned>(value);
    const auto end = std::to_chars(text, text + sizeof text, value < 0 ? 0u - bits : bits).ptr;
    if (value < 0) m_out.Append('-');
    for (int pad = digits - static_cast<int>(end - text); pad > 0; --pad)
        m_out.Append('0');
    m_out.Append(std::string_view(text, static_cast<std::size_t>(end - text)));
}

void TDateRenderer::Insert(std::string_view pattern, bool nested) {
    if (nested) return;
    TDateRenderer inner(m_when, m_settings, m_out);
    inner.Render(pattern, true);
}

void TDateRenderer::RenderDateAndTime(bool nested) {
    Insert(m_settings.ShortDatePattern, nested);
    if (nested || (m_when.Hour == 0 && m_when.Minute == 0 && m_when.Second == 0)) return;
    m_out.Append(' ');
    Insert(m_settings.LongTimePattern, nested);
}

void TDateRenderer::Render(std::string_view pattern, bool nested) {
    std::size_t at = 0;
    while (at < pattern.size() && !Full()) {
        const char c = pattern[at];
        if (c == '\'' || c == '"') {
            const std::size_t close = pattern.find(c, at + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            m_out.Append(pattern.substr(at + 1, end - at - 1));
            at = end == pattern.size() ? end : end + 1;
        } else if (IsLetter(c)) {
            at = Letter(pattern, at, nested);
        } else if (c == '/' || c == ':') {
            const char separator = c == '/' ? m_settings.DateSeparator : m_settings.TimeSeparator;
            if (separator != '\0') m_out.Append(separator);
            ++at;
        } else {
            const std::size_t length = UnitLength(pattern, at);
            if (length > 1) m_afterHour = false;
            m_out.Append(pattern.substr(at, length));
            at += length;
        }
    }
}

// Renders the letter element at `at`; returns where the next element starts.
std::size_t TDateRenderer::Letter(std::string_view pattern, std::size_t at, bool nested) {
    const char letter = Lower(pattern[at]);
    if (letter == 'a') {
        m_afterHour = false;
        return LetterA(pattern, at);
    }
    std::size_t end = at + 1;
    while (end < pattern.size() && pattern[end] == pattern[at])
        ++end;
    if (letter == 'h') {
        if (!m_twelveHour) m_twelveHour = AmPmFollows(pattern, end);
        Hour(end - at);
        m_afterHour = true;
        return end;
    }
    LetterRun(pattern[at], end - at, nested);
    m_afterHour = false;
    return end;
}

void TDateRenderer::Hour(std::size_t count) {
    Number(m_twelveHour ? TwelveHour() : m_when.Hour, count >= 2 ? 2 : 1);
}

void TDateRenderer::LetterRun(char original, std::size_t count, bool nested) {
    const char letter = Lower(original);
    const int width = count >= 2 ? 2 : 1;
    switch (letter) {
    case 'y':
        count <= 2 ? Number(m_when.Year % 100, 2) : Number(m_when.Year, 4);
        break;
    case 'm':
        if (m_afterHour)
            Number(m_when.Minute, width);
        else if (count <= 2)
            Number(m_when.Month, width);
        else if (m_when.Month >= 1 && m_when.Month <= 12)
            m_out.Append((count == 3 ? m_settings.ShortMonthNames
                                     : m_settings.LongMonthNames)[m_when.Month - 1]);
        break;
    case 'd':
        if (count <= 2)
            Number(m_when.Day, width);
        else if (count <= 4 && m_when.DayOfWeek >= 0 && m_when.DayOfWeek <= 6)
            m_out.Append((count == 3 ? m_settings.ShortDayNames
                                     : m_settings.LongDayNames)[m_when.DayOfWeek]);
        else if (count == 5)
            Insert(m_settings.ShortDatePattern, nested);
        else if (count >= 6)
            Insert(m_settings.LongDatePattern, nested);
        break;
    case 'n':
        Number(m_when.Minute, width);
        break;
    case 's':
        Number(m_when.Second, width);
        break;
    case 'z':
        Number(m_when.Millisecond, count >= 3 ? 3 : static_cast<int>(count));
        break;
    case 't':
        Insert(count == 1 ? m_settings.ShortTimePattern : m_settings.LongTimePattern, nested);
        break;
    case 'c':
        RenderDateAndTime(nested);
        break;
    case 'e':
        Number(m_when.Year, 1);
        break;
    case 'g':
        break;
    default:
        for (std::size_t i = 0; i < count && !Full(); ++i)
            m_out.Append(original);
        break;
    }
}

// The elements that begin with "a": AM/PM forms, day names, or the letter itself.
std::size_t TDateRenderer::LetterA(std::string_view pattern, std::size_t at) {
    const bool afternoon = m_when.Hour >= 12;
    if (StartsWithNoCase(pattern, at, "am/pm") || StartsWithNoCase(pattern, at, "a/p")) {
        const std::size_t length = StartsWithNoCase(pattern, at, "am/pm") ? 5 : 3;
        const std::size_t letters = length == 5 ? 2 : 1;
        m_out.Append(pattern.substr(afternoon ? at + length - letters : at, letters));
        m_twelveHour = true;
        return at + length;
    }
    if (StartsWithNoCase(pattern, at, "ampm")) {
        m_out.Append(afternoon ? m_settings.TimePMString : m_settings.TimeAMString);
        m_twelveHour = true;
        return at + 4;
    }
    if (StartsWithNoCase(pattern, at, "aaaa")) {
        if (m_when.DayOfWeek >= 0 && m_when.DayOfWeek <= 6)
            m_out.Append(m_settings.LongDayNames[m_when.DayOfWeek]);
        return at + 4;
    }
    if (StartsWithNoCase(pattern, at, "aaa")) {
        if (m_when.DayOfWeek >= 0 && m_when.DayOfWeek <= 6)
            m_out.Append(m_settings.ShortDayNames[m_when.DayOfWeek]);
        return at + 3;
    }
    m_out.Append(pattern[at]);
    return at + 1;
}

} // namespace

std::string FormatDateTime(std::string_view pattern, const TDateTime& when,
                           const TFormatSettings& settings) {
    TTextBuffer out;
    TDateRenderer(when, settings, out).Render(pattern, false);
    return out.Text();
}

std::string ModificationText(const TDateTime& when, const TFormatSettings& settings) {
    return FormatDateTime("c", when, settings);
}

} // namespace engine
