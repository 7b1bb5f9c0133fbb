#include "kit/intelligence/Prompts.h"

#include "kit/text/StringHelpers.h"

namespace tessellar {

std::string_view summary_style::rawValue(SummaryStyle style) {
    return style == SummaryStyle::bullets ? "bullets" : "oneLine";
}

std::optional<SummaryStyle> summary_style::fromRaw(std::string_view raw) {
    if (raw == "bullets")
        return SummaryStyle::bullets;
    if (raw == "oneLine")
        return SummaryStyle::oneLine;
    return std::nullopt;
}

namespace prompts {

Prompt classify(const ClassificationRequest& request) {
    std::string system = "You classify content a user dropped into a macOS utility. Reply with a single JSON "
                         "object and nothing else.\n"
                         "\n"
                         "Schema:\n"
                         "{\"contentType\": one of [";
    bool first = true;
    for (const ContentType type : content_type::allCases()) {
        if (!first)
            system += ", ";
        system += content_type::rawValue(type);
        first = false;
    }
    system += "],\n"
              " \"title\": short label, max 8 words, no sentences,\n"
              " \"headline\": optional specific type name, max 3 words,\n"
              " \"confidence\": number 0-1,\n"
              " \"metadata\": flat object of short string values (company, amount, dueDate, date, route, "
              "flightNumber, errorSummary),\n"
              " \"recommendedActions\": array of action ids}\n"
              "\n"
              "Rules: never write prose. Never guess an amount or date that is not in the content. Omit a "
              "metadata key rather than inventing its value.";

    std::string user;
    if (request.filename)
        user += "Filename: " + *request.filename + "\n";
    if (request.localGuess)
        user += "Local guess: " + std::string(content_type::rawValue(*request.localGuess)) + "\n";
    user += "Content:\n" + truncated(request.text, classifyTextLimit);
    return {std::move(system), std::move(user)};
}

Prompt summarize(std::string_view text, SummaryStyle style) {
    std::string system = style == SummaryStyle::bullets
                             ? "Summarize in at most 4 bullet points, each under 18 words. Start each with "
                               "'\u2022 '. No preamble, no closing remark."
                             : "Summarize in one sentence under 25 words. No preamble.";
    return {std::move(system), truncated(text, summaryTextLimit)};
}

Prompt answer(std::string_view question, std::string_view content) {
    return {
        "Answer the question about the provided content directly and briefly. No preamble. If the content "
        "does not contain the answer, say so in one sentence.",
        "Question: " + std::string(question) + "\n\nContent:\n" + truncated(content, summaryTextLimit)};
}

Prompt smartFilename(const FilenameRequest& request) {
    std::string facts;
    for (const auto& fact : request.metadata.facts) {
        if (!facts.empty())
            facts += ", ";
        facts += fact.key + "=" + fact.value;
    }
    return {
        "Produce one filename. Lowercase, words separated by hyphens, no spaces, no path, keep the original "
        "extension. Include the issuer or subject and a date (yyyy-MM) when the content has one. Reply "
        "with the filename only.",
        "Current name: " + request.currentName +
            "\nDetected type: " + std::string(content_type::rawValue(request.contentType)) +
            "\nKnown facts: " + facts + "\nContent:\n" + truncated(request.text, filenameTextLimit)};
}

Prompt testConnection() {
    return {"Reply with the single word: ok", "ping"};
}

} // namespace prompts
} // namespace tessellar
