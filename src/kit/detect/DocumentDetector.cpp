#include "kit/detect/DocumentDetector.h"

#include "kit/detect/TextSignals.h"
#include "kit/text/Regex.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>

namespace tessellar {
namespace {

const std::vector<std::string> dueDatePhrases{"due date", "payment due", "due on", "due"};
const std::vector<std::string> issueDatePhrases{"invoice date", "issued", "date of issue"};
constexpr std::size_t dateWindow = 60;

// Confidences are added in hundredths so that 0.7 + 0.1 is exactly 0.8.
constexpr int invoiceWithFewPhrases = 70;
constexpr int invoiceWithManyPhrases = 85;
constexpr int dueDateBonus = 10;
constexpr int filenameBonus = 5;
constexpr int invoiceCeiling = 95;
constexpr int receiptBase = 55;
constexpr int receiptPerPhrase = 6;
constexpr int receiptCeiling = 90;

bool hasDecimalDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int filenameHit(const std::optional<std::string>& filename, std::string_view word) {
    return filename && containsCaseInsensitive(*filename, word) ? 1 : 0;
}

} // namespace

const std::vector<std::string>& DocumentDetector::invoiceKeywords() {
    static const std::vector<std::string> keywords{"invoice",  "amount due",     "total due", "balance due",
                                                   "bill to",  "invoice number", "invoice #", "payment due",
                                                   "remit to", "net 30",         "due date"};
    return keywords;
}

const std::vector<std::string>& DocumentDetector::receiptKeywords() {
    static const std::vector<std::string> keywords{"receipt",
                                                   "thank you for your purchase",
                                                   "order total",
                                                   "subtotal",
                                                   "payment method",
                                                   "card ending",
                                                   "transaction",
                                                   "order #",
                                                   "qty"};
    return keywords;
}

std::optional<DocumentDetector::Invoice>
DocumentDetector::invoice(std::string_view text, const std::optional<std::string>& filename) {
    if (isBlank(text))
        return std::nullopt;
    const int fileHit = filenameHit(filename, "invoice");
    const int score = TextSignals::keywordScore(invoiceKeywords(), text) + fileHit;

    const auto amount = TextSignals::primaryAmount(text);
    int hundredths = 0;
    if (!amount) {
        if (score < 4)
            return std::nullopt;
        hundredths = invoiceWithFewPhrases;
    } else {
        if (score < 2)
            return std::nullopt;
        hundredths = score == 2 ? invoiceWithFewPhrases : invoiceWithManyPhrases;
    }

    Invoice result;
    result.dueDate = TextSignals::date(dueDatePhrases, text, dateWindow);
    if (result.dueDate)
        hundredths += dueDateBonus;
    if (fileHit)
        hundredths += filenameBonus;
    result.company = TextSignals::organizationName(text);
    if (amount)
        result.amount = amount->raw;
    result.issueDate = TextSignals::date(issueDatePhrases, text, dateWindow);
    result.number = invoiceNumber(text);
    result.confidence = std::min(hundredths, invoiceCeiling) / 100.0;
    return result;
}

std::optional<DocumentDetector::Receipt>
DocumentDetector::receipt(std::string_view text, const std::optional<std::string>& filename) {
    if (isBlank(text))
        return std::nullopt;
    const int score = TextSignals::keywordScore(receiptKeywords(), text) + filenameHit(filename, "receipt");
    if (score < 2)
        return std::nullopt;
    const auto amount = TextSignals::primaryAmount(text);
    if (!amount)
        return std::nullopt;
    // An invoice wins only with strictly more evidence.
    if (TextSignals::keywordScore(invoiceKeywords(), text) > score)
        return std::nullopt;

    Receipt result;
    result.merchant = TextSignals::organizationName(text);
    result.total = amount->raw;
    const auto dates = TextSignals::dates(text);
    if (!dates.empty())
        result.date = dates.front();
    result.confidence = std::min(receiptBase + receiptPerPhrase * score, receiptCeiling) / 100.0;
    return result;
}

std::optional<std::string> DocumentDetector::invoiceNumber(std::string_view text) {
    // Possessive blanks: what follows each run cannot be a blank, so giving blanks back never
    // helps a match, and without it "Invoice number" before a long blank run backtracks. The
    // runs are bounded too, because ICU keeps a state per blank even for a possessive loop; no
    // label sits 64 blanks away from its value.
    static const std::array<Regex, 2> patterns{
        Regex(R"(invoice\s{0,64}+(?:number|no\.?|#)\s{0,64}+(?::\s{0,64}+)?([A-Za-z0-9-]{2,20}))",
              UREGEX_CASE_INSENSITIVE),
        Regex(R"(invoice\s{1,64}+([A-Z0-9-]{3,20}))", UREGEX_CASE_INSENSITIVE),
    };
    const icu::UnicodeString u = unicode::toICU(text);
    for (const auto& pattern : patterns) {
        const auto match = pattern.firstMatch(u);
        if (!match || !match->group(1))
            continue;
        std::string candidate = trimmed(match->group(1)->text);
        if (hasDecimalDigit(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace tessellar
