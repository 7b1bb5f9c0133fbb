#include "kit/detect/TravelDetector.h"

#include "kit/detect/TextSignals.h"
#include "kit/text/Regex.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <array>
#include <map>

namespace tessellar {
namespace {

const std::vector<std::string> departurePhrases{"departs", "departure", "depart", "boarding"};
constexpr std::size_t dateWindow = 60;

const std::map<std::string, std::string, std::less<>>& airlines() {
    static const std::map<std::string, std::string, std::less<>> table{
        {"UA", "United"},
        {"AA", "American"},
        {"DL", "Delta"},
        {"WN", "Southwest"},
        {"AS", "Alaska"},
        {"B6", "JetBlue"},
        {"BA", "British Airways"},
        {"LH", "Lufthansa"},
        {"AF", "Air France"},
        {"KL", "KLM"},
        {"NH", "ANA"},
        {"JL", "JAL"},
        {"EK", "Emirates"},
    };
    return table;
}

const Regex& flightNumberPattern() {
    static const Regex pattern(R"(\b([A-Z]{2}|[A-Z][0-9])\s?([0-9]{1,4})\b)");
    return pattern;
}

const std::array<Regex, 4>& routePatterns() {
    static const std::array<Regex, 4> patterns{
        Regex("([A-Z][A-Za-z .]{2,24})\\s*(?:\u2192|->|\u2014|\u2013)\\s*([A-Z][A-Za-z .]{2,24})"),
        Regex("\\b([A-Z]{3})\\s*(?:\u2192|->|-|\u2014|\u2013|to)\\s*([A-Z]{3})\\b"),
        Regex(R"(from\s+([A-Z][A-Za-z .]{2,24})\s+to\s+([A-Z][A-Za-z .]{2,24}))"),
        Regex(R"(\b([A-Z][a-z.]+(?: [A-Z][a-z.]+)?)\s+to\s+([A-Z][a-z.]+(?: [A-Z][a-z.]+)?)\b)"),
    };
    return patterns;
}

const Regex& confirmationPattern() {
    // Possessive blanks (nothing after a run can be a blank), so a long blank run after the
    // label is walked once instead of split every way around the optional colon; bounded,
    // because ICU keeps a state per blank even for a possessive loop.
    static const Regex pattern(
        R"((?:confirmation(?:\s{1,64}+code)?|record locator|pnr)\s{0,64}+(?::\s{0,64}+)?([A-Z0-9]{5,8})\b)",
        UREGEX_CASE_INSENSITIVE);
    return pattern;
}

// Confidence by evidence: many phrases or few, with or without a route.
double confidenceFor(int score, bool hasRoute) {
    if (score >= 4)
        return hasRoute ? 0.85 : 0.7;
    return hasRoute ? 0.75 : 0.6;
}

} // namespace

const std::vector<std::string>& TravelDetector::travelKeywords() {
    static const std::vector<std::string> keywords{
        "flight", "boarding",  "departure",      "arrival", "confirmation code", "passenger", "gate",
        "seat",   "itinerary", "record locator", "pnr"};
    return keywords;
}

std::optional<std::string> TravelDetector::airlineName(std::string_view code) {
    const auto found = airlines().find(code);
    if (found == airlines().end())
        return std::nullopt;
    return found->second;
}

std::optional<TravelDetector::Flight> TravelDetector::flight(std::string_view text) {
    const int score = TextSignals::keywordScore(travelKeywords(), text);
    if (score < 2)
        return std::nullopt;
    const auto number = flightNumber(text);
    if (!number)
        return std::nullopt;
    const auto route = routeEndpoints(text);

    Flight result;
    result.confidence = confidenceFor(score, route.has_value());
    result.airline = airlineName(number->code).value_or(number->code);
    result.flightNumber = number->code + number->digits;
    if (route) {
        result.origin = route->first;
        result.destination = route->second;
    }
    // A boarding pass's "10:40" is the coming one.
    const auto ahead = TextSignals::TimeAlone::nextOccurrence;
    result.departure = TextSignals::date(departurePhrases, text, dateWindow, ahead);
    if (!result.departure) {
        const auto dates = TextSignals::dates(text, ahead);
        if (!dates.empty())
            result.departure = dates.front();
    }
    if (const auto match = confirmationPattern().firstMatch(text); match && match->group(1))
        result.confirmationCode = match->group(1)->text;
    return result;
}

std::optional<TravelDetector::FlightNumber> TravelDetector::flightNumber(std::string_view text) {
    const auto matches = flightNumberPattern().allMatches(text);
    if (matches.empty())
        return std::nullopt;
    for (const auto& match : matches)
        if (airlines().contains(match.group(1)->text))
            return FlightNumber{match.group(1)->text, match.group(2)->text};
    // An unknown code counts only when the text says it is a flight.
    if (!containsCaseInsensitive(text, "flight"))
        return std::nullopt;
    return FlightNumber{matches.front().group(1)->text, matches.front().group(2)->text};
}

std::optional<std::pair<std::string, std::string>> TravelDetector::routeEndpoints(std::string_view text) {
    const icu::UnicodeString u = unicode::toICU(text);
    for (const auto& pattern : routePatterns()) {
        const auto match = pattern.firstMatch(u);
        if (!match || !match->group(1) || !match->group(2))
            continue;
        std::string origin = trimmed(match->group(1)->text);
        std::string destination = trimmed(match->group(2)->text);
        if (!origin.empty() && !destination.empty() && origin != destination)
            return std::pair{std::move(origin), std::move(destination)};
    }
    return std::nullopt;
}

} // namespace tessellar
