#include "kit/detect/ScheduleDetector.h"

#include "kit/scan/DataDetector.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unicode/calendar.h>
#include <unordered_set>

namespace tessellar {
namespace {

constexpr std::size_t longestText = 200;

constexpr std::array<std::string_view, 7> deadlineWords{"due",    "deadline", "by ",  "before ",
                                                        "submit", "expires",  "renew"};

const std::unordered_set<std::string_view>& connectives() {
    static const std::unordered_set<std::string_view> words{
        "on",    "at",     "by",        "for",    "from",    "in",        "of",    "to",      "is",
        "was",   "due",    "until",     "till",   "through", "before",    "after", "since",   "starting",
        "start", "starts", "beginning", "begins", "ends",    "scheduled", "set",   "planned", "booked"};
    return words;
}

// Blank, comma, full stop, semicolon, colon, hyphen-minus, en dash, em dash.
bool isEdgePunctuation(char32_t c) {
    return c == ' ' || c == ',' || c == '.' || c == ';' || c == ':' || c == '-' || c == 0x2013 || c == 0x2014;
}

std::string_view trimmingEdgePunctuation(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = begin;
        if (!isEdgePunctuation(unicode::nextScalar(text, next)))
            break;
        begin = next;
    }
    std::size_t end = text.size();
    while (end > begin) {
        std::size_t previous = end;
        if (!isEdgePunctuation(unicode::previousScalar(text, previous)) || previous < begin)
            break;
        end = previous;
    }
    return text.substr(begin, end - begin);
}

bool isConnective(std::string_view word) {
    return connectives().contains(unicode::lowercased(trimmingEdgePunctuation(word)));
}

std::string replacingAll(std::string_view text, std::string_view target, std::string_view replacement) {
    std::string out;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = text.find(target, from);
        if (at == std::string_view::npos)
            break;
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + target.size();
    }
    out.append(text.substr(from));
    return out;
}

// Whether the instant's hour or minute in the user's calendar and zone is not zero.
bool hasTimeOfDay(Timestamp date) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(user_locale::timeZone().release(), user_locale::locale(), status));
    if (U_FAILURE(status))
        return false;
    calendar->setTime(date.unixSeconds * 1000.0, status);
    const int hour = calendar->get(UCAL_HOUR_OF_DAY, status);
    const int minute = calendar->get(UCAL_MINUTE, status);
    return U_SUCCESS(status) && (hour != 0 || minute != 0);
}

} // namespace

std::optional<ScheduleDetector::Occasion> ScheduleDetector::occasion(std::string_view text, Timestamp) {
    const std::string input = trimmed(text);
    if (input.empty() || unicode::characterCount(input) > longestText)
        return std::nullopt;
    const std::vector<DataDetector::Match> matches = DataDetector::matches(DataDetector::Type::date, input);
    if (matches.empty() || !matches.front().date)
        return std::nullopt;
    const std::string expression = DataDetector::substring(input, matches.front().range);

    Occasion occasion;
    occasion.date = *matches.front().date;
    const std::string rest = expression.empty() ? input : replacingAll(input, expression, " ");
    // Collapsing whitespace also drops it at the ends, as trimming the blank would.
    occasion.subject = trimmingDanglingConnectives(trimmingEdgePunctuation(normalizedWhitespace(rest)));
    if (occasion.subject.empty())
        occasion.subject = "Reminder";
    occasion.hasTime = hasTimeOfDay(occasion.date);
    const std::string lower = unicode::lowercased(input);
    occasion.isDeadline =
        std::any_of(deadlineWords.begin(), deadlineWords.end(),
                    [&lower](std::string_view word) { return lower.find(word) != std::string::npos; });
    return occasion;
}

std::string ScheduleDetector::trimmingDanglingConnectives(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    while (words.size() >= 2 && isConnective(words.back()))
        words.pop_back();
    if (words.size() == 1 && isConnective(words.front()))
        return {};
    std::string joined;
    for (const std::string_view word : words) {
        if (!joined.empty())
            joined += ' ';
        joined.append(word);
    }
    return std::string(trimmingEdgePunctuation(joined));
}

} // namespace tessellar
