#include "kit/model/ContentType.h"

#include <array>

namespace tessellar::content_type {
namespace {

struct Row {
    ContentType type;
    std::string_view raw;
    std::string_view display;
    std::string_view symbol;
};

constexpr std::array<Row, 20> table{{
    {ContentType::plainText, "plainText", "Text", "text.alignleft"},
    {ContentType::url, "url", "Website", "globe"},
    {ContentType::address, "address", "Address", "mappin.and.ellipse"},
    {ContentType::date, "date", "Date", "calendar"},
    {ContentType::emailAddress, "emailAddress", "Email Address", "envelope"},
    {ContentType::phoneNumber, "phoneNumber", "Phone Number", "phone"},
    {ContentType::code, "code", "Code", "chevron.left.forwardslash.chevron.right"},
    {ContentType::jwt, "jwt", "JWT", "key"},
    {ContentType::json, "json", "JSON", "curlybraces"},
    {ContentType::timestamp, "timestamp", "Unix Timestamp", "clock"},
    {ContentType::image, "image", "Image", "photo"},
    {ContentType::screenshot, "screenshot", "Screenshot", "rectangle.dashed"},
    {ContentType::pdf, "pdf", "PDF", "doc.richtext"},
    {ContentType::document, "document", "Document", "doc.text"},
    {ContentType::invoice, "invoice", "Invoice", "doc.text.below.ecg"},
    {ContentType::receipt, "receipt", "Receipt", "receipt"},
    {ContentType::travel, "travel", "Flight", "airplane"},
    {ContentType::event, "event", "Event", "calendar.badge.plus"},
    {ContentType::product, "product", "Product", "bag"},
    {ContentType::unknown, "unknown", "Unrecognized", "questionmark.square.dashed"},
}};

constexpr std::array<ContentType, 20> all = [] {
    std::array<ContentType, 20> out{};
    for (std::size_t i = 0; i < table.size(); ++i)
        out[i] = table[i].type;
    return out;
}();

const Row& row(ContentType type) {
    return table[static_cast<std::size_t>(type)];
}

} // namespace

std::span<const ContentType> allCases() {
    return all;
}
std::string_view rawValue(ContentType type) {
    return row(type).raw;
}
std::string_view displayName(ContentType type) {
    return row(type).display;
}
std::string_view symbolName(ContentType type) {
    return row(type).symbol;
}

std::optional<ContentType> fromRaw(std::string_view raw) {
    for (const auto& r : table)
        if (r.raw == raw)
            return r.type;
    return std::nullopt;
}

bool isVisual(ContentType type) {
    return type == ContentType::image || type == ContentType::screenshot;
}

bool isTextBearingDocument(ContentType type) {
    return type == ContentType::pdf || type == ContentType::document || type == ContentType::invoice ||
           type == ContentType::receipt;
}

} // namespace tessellar::content_type
