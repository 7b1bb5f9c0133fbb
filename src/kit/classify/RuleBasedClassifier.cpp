#include "kit/classify/RuleBasedClassifier.h"

#include "kit/base/Clock.h"
#include "kit/base/MimeTypes.h"
#include "kit/classify/ClassificationRules.h"
#include "kit/detect/LinkDetector.h"
#include "kit/text/Splitting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

namespace tessellar {
namespace {

// A code screenshot needs more than a stray brace or two.
constexpr std::int64_t screenshotCodeScore = 6;

} // namespace

std::optional<Classification> RuleBasedClassifier::classify(const ClassificationInput& input) const {
    if (input.fileURL || input.hasImage)
        return classifyContainer(input);
    if (!input.text)
        return std::nullopt;
    // The string's spare capacity is readable too.
    return classifyText(*input.text, input.filename, input.text->capacity() - input.text->size());
}

std::optional<Classification> RuleBasedClassifier::classifyText(std::string_view text,
                                                                std::size_t readableAfter) {
    return classifyText(text, std::nullopt, readableAfter);
}

bool RuleBasedClassifier::looksLikeScreenshot(std::string_view name) {
    const std::string lower = unicode::lowercased(name);
    return lower.starts_with("screenshot") || lower.starts_with("cleanshot") ||
           lower.starts_with("screen shot") || lower.find("screenshot") != std::string::npos;
}

std::optional<Classification> RuleBasedClassifier::classifyText(std::string_view given,
                                                                const std::optional<std::string>& filename,
                                                                std::size_t readableAfter) {
    // A view: a pasted text can be megabytes, and every detector reads it without copying.
    const std::string_view text = trimmedView(given);
    if (text.empty())
        return std::nullopt;
    const Timestamp now = Clock::now();

    if (const auto token = JWTDetector::token(text))
        return ClassificationRules::jwt(*token, now);
    if (const auto document = JSONDetector::outline(given, readableAfter))
        return ClassificationRules::json(*document);
    if (const auto stamp = TimestampDetector::stamp(text))
        return ClassificationRules::timestamp(*stamp, now);
    if (const auto url = LinkDetector::standaloneURL(text))
        return ClassificationRules::link(*url);
    if (const auto email = LinkDetector::standaloneEmailAddress(text))
        return ClassificationRules::email(*email);
    if (const auto phone = LinkDetector::standalonePhoneNumber(text))
        return ClassificationRules::phone(*phone);
    if (const auto address = AddressDetector::standaloneAddress(text))
        return ClassificationRules::postalAddress(*address);
    if (const auto code = CodeDetector::analyze(text); code && (code->isCode || code->isError))
        return ClassificationRules::code(*code, text, std::nullopt, false);
    if (const auto flight = TravelDetector::flight(text))
        return ClassificationRules::flight(*flight, std::nullopt);
    if (const auto invoice = DocumentDetector::invoice(text, filename))
        return ClassificationRules::invoice(*invoice, invoice->company.value_or("Invoice"), now);
    if (const auto receipt = DocumentDetector::receipt(text, filename))
        return ClassificationRules::receipt(*receipt, receipt->merchant.value_or("Receipt"), now);
    if (const auto occasion = ScheduleDetector::occasion(text, now))
        return ClassificationRules::schedule(*occasion, now);
    return ClassificationRules::plainText(text);
}

Classification RuleBasedClassifier::classifyContainer(const ClassificationInput& input) {
    std::string name = "Untitled";
    if (input.filename)
        name = *input.filename;
    else if (input.fileURL && !input.fileURL->lastPathComponent().empty())
        name = input.fileURL->lastPathComponent();

    std::optional<std::string> type;
    if (input.typeIdentifier)
        type = MimeTypes::knownType(*input.typeIdentifier);
    if (!type && input.fileURL)
        type = MimeTypes::forFileName(input.fileURL->lastPathComponent());

    const std::string text = input.text.value_or("");
    const Timestamp now = Clock::now();

    if (const auto invoice = DocumentDetector::invoice(text, name))
        return ClassificationRules::invoice(*invoice, name, now);
    if (const auto receipt = DocumentDetector::receipt(text, name))
        return ClassificationRules::receipt(*receipt, name, now);
    if (!text.empty())
        if (const auto flight = TravelDetector::flight(text))
            return ClassificationRules::flight(*flight, name);

    if (input.hasImage || (type && MimeTypes::isImage(*type))) {
        const auto code = CodeDetector::analyze(text);
        if (code && (code->isError || (code->isCode && code->score >= screenshotCodeScore)))
            return ClassificationRules::code(*code, text, name, true);
        return ClassificationRules::image(name, text, looksLikeScreenshot(name));
    }

    bool pdf = false;
    if (type)
        pdf = MimeTypes::isPDF(*type);
    else if (input.fileURL)
        pdf = unicode::lowercased(splitFileName(input.fileURL->lastPathComponent()).extension) == "pdf";
    return ClassificationRules::document(pdf ? ContentType::pdf : ContentType::document, name, text);
}

} // namespace tessellar
