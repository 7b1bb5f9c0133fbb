#pragma once

// Realistic captures from everyday sources (bills, receipts, travel mail, tool output,
// addresses, reminders, developer snippets, tokens) and what the rules make of them. The corpus
// lives in a data file so captures can be added without touching code.
#include "kit/classify/RuleBasedClassifier.h"

#include <fstream>
#include <nlohmann/json.hpp>

namespace tessellar::testing {

// One capture: "text", and a dropped "file" of that name (with "mime" and "image" when it has
// one) or typed text; then what the rules must answer.
struct Capture {
    std::string name;
    nlohmann::json row;

    ClassificationInput input() const {
        ClassificationInput input;
        input.text = row.at("text").get<std::string>();
        if (row.contains("file")) {
            input.fileURL = Url::fromFilePath("/home/ana/Downloads/" + row["file"].get<std::string>());
            input.filename = row["file"].get<std::string>();
            input.typeIdentifier =
                row.contains("mime") ? std::optional(row["mime"].get<std::string>()) : std::nullopt;
            input.hasImage = row.value("image", false);
            input.source = SourceType::drop;
        }
        return input;
    }
};

inline const std::vector<Capture>& captures() {
    static const std::vector<Capture> rows = [] {
        std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/real-captures.json");
        std::vector<Capture> out;
        for (const auto& row : nlohmann::json::parse(file))
            out.push_back({row.at("name").get<std::string>(), row});
        return out;
    }();
    return rows;
}

} // namespace tessellar::testing
