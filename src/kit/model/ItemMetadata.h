#pragma once

#include "kit/base/Timestamp.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Facts about an item: the visible ones in display order (one per key) and hidden
// values kept for actions, such as machine-readable dates under "<key>ISO".
struct ItemMetadata {
    struct Fact {
        std::string key;
        std::optional<std::string> label;
        std::string value;
        bool isPrimary = false;

        const std::string& id() const { return key; }
        // Whether the fact merely repeats a line of text (so the headline is not shown twice).
        bool repeats(std::string_view text) const;
        bool operator==(const Fact&) const = default;
    };

    // The standard fact keys; each value equals its name.
    struct Key {
        static constexpr std::string_view company = "company";
        static constexpr std::string_view amount = "amount";
        static constexpr std::string_view dueDate = "dueDate";
        static constexpr std::string_view date = "date";
        static constexpr std::string_view invoiceNumber = "invoiceNumber";
        static constexpr std::string_view merchant = "merchant";
        static constexpr std::string_view street = "street";
        static constexpr std::string_view locality = "locality";
        static constexpr std::string_view host = "host";
        static constexpr std::string_view language = "language";
        static constexpr std::string_view errorSummary = "errorSummary";
        static constexpr std::string_view flightNumber = "flightNumber";
        static constexpr std::string_view route = "route";
        static constexpr std::string_view pageCount = "pageCount";
        static constexpr std::string_view fileSize = "fileSize";
        static constexpr std::string_view dimensions = "dimensions";
        static constexpr std::string_view email = "email";
        static constexpr std::string_view phone = "phone";
        static constexpr std::string_view excerpt = "excerpt";
        static constexpr std::string_view algorithm = "algorithm";
        static constexpr std::string_view expiry = "expiry";
        static constexpr std::string_view subject = "subject";
        static constexpr std::string_view shape = "shape";
    };

    std::vector<Fact> facts;
    std::map<std::string, std::string> hidden;

    // The value of the first fact with that key.
    std::optional<std::string> operator[](std::string_view key) const;

    // Ignores an absent or blank value; replaces a fact of the same key in place, else appends.
    void set(std::string_view key, const std::optional<std::string>& value,
             const std::optional<std::string>& label = std::nullopt, bool isPrimary = false);

    // Stores a present, non-empty value; never removes an existing one.
    void setHidden(std::string_view key, const std::optional<std::string>& value);

    static std::string isoKey(std::string_view key);

    // Sets the visible fact and the hidden ISO 8601 (UTC, whole seconds) date; nothing when absent.
    void setDate(std::string_view key, std::optional<Timestamp> date, const std::string& display,
                 bool isPrimary = false);

    std::optional<Timestamp> date(std::string_view key) const;

    bool isEmpty() const { return facts.empty(); }

    // The first `limit` fact values joined with " · ".
    std::string summaryLine(std::size_t limit) const;

    bool operator==(const ItemMetadata&) const = default;
};

} // namespace tessellar
