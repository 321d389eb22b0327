// FormatDateTime on any pattern bytes, any TDateTime and any regional texts: the text stays
// within 256 bytes, the same input renders the same text, and quoted text is copied exactly.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/engine.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::size_t MaxRenderedBytes = 256;

engine::TDateTime AnyDateTime(FuzzedDataProvider& provider) {
    engine::TDateTime when;
    for (int* field : {&when.Year, &when.Month, &when.Day, &when.Hour, &when.Minute, &when.Second,
                       &when.Millisecond, &when.DayOfWeek})
        *field = provider.ConsumeIntegral<int>();
    return when;
}

engine::TFormatSettings AnySettings(FuzzedDataProvider& provider) {
    engine::TFormatSettings settings;
    for (std::string* text :
         {&settings.ShortDatePattern, &settings.LongDatePattern, &settings.ShortTimePattern,
          &settings.LongTimePattern, &settings.TimeAMString, &settings.TimePMString,
          &settings.LongMonthNames[0], &settings.ShortDayNames[0]})
        *text = provider.ConsumeRandomLengthString(300);
    settings.DateSeparator = provider.ConsumeIntegral<char>();
    settings.TimeSeparator = provider.ConsumeIntegral<char>();
    return settings;
}

std::string WithoutQuotes(std::string text) {
    std::erase(text, '\'');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const engine::TDateTime when = AnyDateTime(provider);
    const engine::TFormatSettings settings = AnySettings(provider);
    const std::string quoted = WithoutQuotes(provider.ConsumeRandomLengthString(300));
    const std::string rest = provider.ConsumeRemainingBytesAsString();

    const std::string text = engine::FormatDateTime(rest, when, settings);
    FUZZ_CHECK(text.size() <= MaxRenderedBytes);
    FUZZ_CHECK(engine::FormatDateTime(rest, when, settings) == text);

    // The cut falls on a character boundary, so it keeps all of a quoted text that ends at
    // least one whole character (4 bytes) before it.
    const std::string withQuote = engine::FormatDateTime("'" + quoted + "'" + rest, when, settings);
    FUZZ_CHECK(withQuote.size() <= MaxRenderedBytes);
    if (quoted.size() + 4 <= MaxRenderedBytes) FUZZ_CHECK(withQuote.starts_with(quoted));
    return 0;
}
