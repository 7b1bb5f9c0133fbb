#include "kit/model/SourceType.h"

#include <array>

namespace tessellar {
namespace {

template <typename E> struct Row {
    E value;
    std::string_view raw;
    std::string_view display;
};

constexpr std::array<Row<SourceType>, 3> sourceTable{{
    {SourceType::drop, "drop", "Dropped"},
    {SourceType::clipboard, "clipboard", "Clipboard"},
    {SourceType::typed, "typed", "Typed"},
}};

constexpr std::array<Row<ClassificationSource>, 3> classificationTable{{
    {ClassificationSource::rules, "rules", "Recognized on this Mac"},
    {ClassificationSource::intelligence, "intelligence", "Recognized by AI"},
    {ClassificationSource::mixed, "mixed", "Recognized on this Mac, refined by AI"},
}};

template <typename E, std::size_t N>
std::optional<E> lookup(const std::array<Row<E>, N>& table, std::string_view raw) {
    for (const auto& r : table)
        if (r.raw == raw)
            return r.value;
    return std::nullopt;
}

} // namespace

std::string_view source_type::rawValue(SourceType type) {
    return sourceTable[static_cast<std::size_t>(type)].raw;
}
std::string_view source_type::displayName(SourceType type) {
    return sourceTable[static_cast<std::size_t>(type)].display;
}
std::optional<SourceType> source_type::fromRaw(std::string_view raw) {
    return lookup(sourceTable, raw);
}

std::string_view classification_source::rawValue(ClassificationSource source) {
    return classificationTable[static_cast<std::size_t>(source)].raw;
}
std::string_view classification_source::displayName(ClassificationSource source) {
    return classificationTable[static_cast<std::size_t>(source)].display;
}
std::optional<ClassificationSource> classification_source::fromRaw(std::string_view raw) {
    return lookup(classificationTable, raw);
}
bool classification_source::leftTheMac(ClassificationSource source) {
    return source != ClassificationSource::rules;
}

} // namespace tessellar
