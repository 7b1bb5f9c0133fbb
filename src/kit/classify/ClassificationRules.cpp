#include "kit/classify/ClassificationRules.h"

#include "kit/detect/LinkDetector.h"
#include "kit/text/Formatting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <initializer_list>
#include <vector>

namespace tessellar {
namespace {

using Key = ItemMetadata::Key;

std::vector<ActionID> actions(std::initializer_list<ActionID> ids) {
    return ids;
}

Classification make(ContentType type, std::string title, std::optional<std::string> headline,
                    double confidence, ItemMetadata metadata, std::vector<ActionID> ids) {
    return Classification(type, std::move(title), std::move(headline), confidence, std::move(metadata),
                          std::move(ids), ClassificationSource::rules);
}

std::optional<std::string> truncatedLine(const std::optional<std::string>& line, std::size_t limit) {
    if (!line)
        return std::nullopt;
    return truncated(*line, limit);
}

// The first meaningful line of a document or image text, as its excerpt.
void setExcerpt(ItemMetadata& metadata, std::string_view text) {
    metadata.set(Key::excerpt, truncatedLine(firstMeaningfulLine(text), 140), std::nullopt, true);
}

} // namespace

Classification ClassificationRules::jwt(const JWTDetector::Token& token, Timestamp now) {
    ItemMetadata metadata;
    metadata.set(Key::algorithm, token.algorithm, "Algorithm", true);
    metadata.set(Key::subject, token.subject, "Subject");
    metadata.set(Key::company, token.issuer, "Issuer");
    const bool expired = token.expiresAt && *token.expiresAt < now;
    if (token.expiresAt)
        metadata.setDate(Key::expiry, token.expiresAt,
                         (expired ? "Expired " : "Expires ") + Formatting::dayAndTime(*token.expiresAt),
                         true);
    std::string title = token.subject ? *token.subject : token.issuer ? *token.issuer : "JSON Web Token";
    return make(ContentType::jwt, std::move(title), expired ? "Expired JWT" : "JWT", 0.97,
                std::move(metadata), actions({ActionID::decodeJWT, ActionID::copy}));
}

Classification ClassificationRules::json(const JSONDetector::Outline& document) {
    ItemMetadata metadata;
    metadata.set(Key::shape,
                 std::string(document.isArray ? "Array \u00B7 " : "Object \u00B7 ") + document.summary,
                 std::nullopt, true);
    if (!document.topLevelKeys.empty()) {
        std::string keys;
        for (std::size_t i = 0; i < document.topLevelKeys.size() && i < 6; ++i)
            keys += (i == 0 ? "" : ", ") + document.topLevelKeys[i];
        metadata.set(Key::excerpt, keys);
    }
    std::string title = document.identity  ? *document.identity
                        : document.isArray ? "JSON array"
                                           : "JSON object";
    return make(ContentType::json, std::move(title), "JSON", 0.96, std::move(metadata),
                actions({ActionID::formatJSON, ActionID::generateSwiftModel, ActionID::copy}));
}

Classification ClassificationRules::timestamp(const TimestampDetector::Stamp& stamp, Timestamp now) {
    ItemMetadata metadata;
    for (const auto& row : TimestampDetector::renderings(stamp, now))
        if (!isBlank(row.value))
            metadata.set(unicode::lowercased(row.label), row.value, row.label, row.label == "Local");
    return make(ContentType::timestamp, Formatting::dayAndTime(stamp.date),
                stamp.wasMilliseconds ? "Unix Timestamp (ms)" : "Unix Timestamp", 0.9, std::move(metadata),
                actions({ActionID::convertTimestamp, ActionID::copy}));
}

Classification ClassificationRules::link(const Url& url) {
    ItemMetadata metadata;
    metadata.set(Key::host, url.host(), std::nullopt, true);
    return make(ContentType::url, LinkDetector::displayString(url), std::nullopt, 0.98, std::move(metadata),
                actions({ActionID::openURL, ActionID::copyURL, ActionID::saveForLater, ActionID::summarize}));
}

Classification ClassificationRules::email(const std::string& address) {
    ItemMetadata metadata;
    metadata.set(Key::email, address, std::nullopt, true);
    return make(ContentType::emailAddress, address, std::nullopt, 0.95, std::move(metadata),
                actions({ActionID::copy, ActionID::askAI}));
}

Classification ClassificationRules::phone(const std::string& number) {
    ItemMetadata metadata;
    metadata.set(Key::phone, number, std::nullopt, true);
    return make(ContentType::phoneNumber, number, std::nullopt, 0.9, std::move(metadata),
                actions({ActionID::copy}));
}

Classification ClassificationRules::postalAddress(const AddressDetector::Address& address) {
    const auto lines = address.displayLines();
    ItemMetadata metadata;
    if (!lines.empty())
        metadata.set(Key::street, lines[0], std::nullopt, true);
    if (lines.size() >= 2)
        metadata.set(Key::locality, lines[1]);
    metadata.setHidden("rawAddress", address.raw);
    return make(ContentType::address, lines.empty() ? address.raw : lines[0], std::nullopt, 0.9,
                std::move(metadata),
                actions({ActionID::openInMaps, ActionID::copyAddress, ActionID::createReminder}));
}

Classification ClassificationRules::code(const CodeDetector::Result& result, std::string_view text,
                                         const std::optional<std::string>& title, bool fromScreenshot) {
    ItemMetadata metadata;
    const auto& summary = result.errorSummary;
    if (summary)
        metadata.set(Key::errorSummary, truncated(*summary, 180), std::nullopt, true);
    else
        metadata.set(Key::excerpt, truncatedLine(firstMeaningfulLine(text), 180), std::nullopt, true);
    metadata.set(Key::language, result.language);

    std::string headline;
    if (result.isError)
        headline = result.language ? *result.language + " Error" : "Development Error";
    else
        headline = result.language ? *result.language + " Code" : "Code";

    const auto shortSummary = truncatedLine(summary, 60);
    std::string chosen;
    if (fromScreenshot)
        chosen = shortSummary ? *shortSummary : title ? *title : "Code";
    else
        chosen = title ? *title : shortSummary ? *shortSummary : "Code";

    auto ids = fromScreenshot
                   ? actions({ActionID::copy, ActionID::openInAgent, ActionID::copyExtractedText,
                              ActionID::explainError, ActionID::askAI, ActionID::searchWeb})
                   : actions({ActionID::copy, ActionID::explainError, ActionID::askAI, ActionID::searchWeb});
    return make(ContentType::code, std::move(chosen), std::move(headline), result.isError ? 0.88 : 0.7,
                std::move(metadata), std::move(ids));
}

Classification ClassificationRules::flight(const TravelDetector::Flight& flight,
                                           const std::optional<std::string>& title) {
    std::string number;
    for (const auto& part : {flight.airline, flight.flightNumber}) {
        if (!part)
            continue;
        number += (number.empty() ? "" : " ") + *part;
    }
    ItemMetadata metadata;
    metadata.set(Key::flightNumber, number, std::nullopt, true);
    if (flight.origin && flight.destination)
        metadata.set(Key::route, *flight.origin + " \u2192 " + *flight.destination, std::nullopt, true);
    if (flight.departure)
        metadata.setDate(Key::date, flight.departure, Formatting::dayAndTime(*flight.departure));
    std::string chosen = title ? *title : !number.empty() ? number : "Flight";
    return make(ContentType::travel, std::move(chosen), std::nullopt, flight.confidence, std::move(metadata),
                actions({ActionID::createCalendarEvent, ActionID::createReminder, ActionID::copy,
                         ActionID::summarize}));
}

Classification ClassificationRules::invoice(const DocumentDetector::Invoice& invoice,
                                            const std::string& title, Timestamp now) {
    ItemMetadata metadata;
    metadata.set(Key::company, invoice.company, std::nullopt, true);
    metadata.set(Key::amount, invoice.amount, std::nullopt, true);
    if (invoice.dueDate)
        metadata.setDate(Key::dueDate, invoice.dueDate,
                         "Due " + Formatting::shortDate(*invoice.dueDate, now));
    if (invoice.number)
        metadata.set(Key::invoiceNumber, "Invoice " + *invoice.number);
    return make(ContentType::invoice, title, std::nullopt, invoice.confidence, std::move(metadata),
                actions({ActionID::createReminder, ActionID::smartRename, ActionID::moveToFolder,
                         ActionID::summarize, ActionID::revealInFinder}));
}

Classification ClassificationRules::receipt(const DocumentDetector::Receipt& receipt,
                                            const std::string& title, Timestamp now) {
    ItemMetadata metadata;
    metadata.set(Key::merchant, receipt.merchant, std::nullopt, true);
    metadata.set(Key::amount, receipt.total, std::nullopt, true);
    if (receipt.date)
        metadata.setDate(Key::date, receipt.date, Formatting::shortDate(*receipt.date, now));
    return make(ContentType::receipt, title, std::nullopt, receipt.confidence, std::move(metadata),
                actions({ActionID::smartRename, ActionID::moveToFolder, ActionID::summarize,
                         ActionID::revealInFinder}));
}

Classification ClassificationRules::schedule(const ScheduleDetector::Occasion& occasion, Timestamp now) {
    const std::string display =
        occasion.hasTime ? Formatting::dayAndTime(occasion.date) : Formatting::shortDate(occasion.date, now);
    ItemMetadata metadata;
    metadata.setDate(Key::date, occasion.date, display, true);
    metadata.setHidden("hasTime", occasion.hasTime ? "true" : "false");
    auto ids = occasion.hasTime
                   ? actions({ActionID::createCalendarEvent, ActionID::createReminder, ActionID::copy})
                   : actions({ActionID::createReminder, ActionID::createCalendarEvent, ActionID::copy});
    return make(ContentType::date, occasion.subject, occasion.isDeadline ? "Deadline" : "Date", 0.82,
                std::move(metadata), std::move(ids));
}

Classification ClassificationRules::image(const std::string& name, std::string_view text, bool isScreenshot) {
    ItemMetadata metadata;
    setExcerpt(metadata, text);
    auto ids = isBlank(text)
                   ? actions({ActionID::openInAgent, ActionID::describeImage, ActionID::copy,
                              ActionID::smartRename, ActionID::revealInFinder})
                   : actions({ActionID::copyExtractedText, ActionID::openInAgent, ActionID::describeImage,
                              ActionID::copy, ActionID::smartRename, ActionID::revealInFinder});
    return make(isScreenshot ? ContentType::screenshot : ContentType::image, name, std::nullopt,
                isScreenshot ? 0.9 : 0.8, std::move(metadata), std::move(ids));
}

Classification ClassificationRules::document(ContentType type, const std::string& name,
                                             std::string_view text) {
    ItemMetadata metadata;
    setExcerpt(metadata, text);
    return make(type, name, std::nullopt, isBlank(text) ? 0.5 : 0.65, std::move(metadata),
                actions({ActionID::summarize, ActionID::smartRename, ActionID::moveToFolder,
                         ActionID::quickLook, ActionID::revealInFinder}));
}

Classification ClassificationRules::plainText(std::string_view text) {
    ItemMetadata metadata;
    metadata.set(Key::excerpt, truncated(normalizedWhitespace(text), 220), std::nullopt, true);
    auto title = truncatedLine(firstMeaningfulLine(text), 60);
    return make(ContentType::plainText, title ? *title : "Text", std::nullopt, 0.6, std::move(metadata),
                actions({ActionID::copy, ActionID::summarize, ActionID::askAI, ActionID::createReminder}));
}

} // namespace tessellar
