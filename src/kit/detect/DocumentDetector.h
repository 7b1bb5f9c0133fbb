#pragma once

#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Scored recognisers for bills: each counts its keyword phrases first and refuses weak
// evidence, then extracts the fields. Stateless.
class DocumentDetector {
public:
    struct Invoice {
        std::optional<std::string> company;
        std::optional<std::string> amount; // the primary amount as written
        std::optional<Timestamp> dueDate;
        std::optional<Timestamp> issueDate;
        std::optional<std::string> number;
        double confidence = 0; // 0.6 … 0.95

        bool operator==(const Invoice&) const = default;
    };

    struct Receipt {
        std::optional<std::string> merchant;
        std::optional<std::string> total; // the primary amount as written
        std::optional<Timestamp> date;
        double confidence = 0; // 0.55 + 0.06 × score, at most 0.9

        bool operator==(const Receipt&) const = default;
    };

    // `filename` is the capture's file name, absent for typed or copied text.
    static std::optional<Invoice> invoice(std::string_view text, const std::optional<std::string>& filename);
    static std::optional<Receipt> receipt(std::string_view text, const std::optional<std::string>& filename);

    static const std::vector<std::string>& invoiceKeywords();
    static const std::vector<std::string>& receiptKeywords();

private:
    static std::optional<std::string> invoiceNumber(std::string_view text);
};

} // namespace tessellar
