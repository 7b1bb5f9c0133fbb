#include "modules/markup/MarkupText.h"
#include "modules/markup/XmlSupport.h"

#include <cstdlib>
#include <zip.h>

namespace tessellar::markup {
namespace {

struct ArchiveClose {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveClose>;

struct EntryClose {
    void operator()(zip_file_t* entry) const { zip_fclose(entry); }
};
using Entry = std::unique_ptr<zip_file_t, EntryClose>;

const char* partName(Format format) {
    return format == Format::docx ? "word/document.xml" : "content.xml";
}

// Inflates at most `limit` bytes of the document part, whatever its header claims.
std::optional<std::string> readPart(zip_t* archive, Format format, std::size_t limit) {
    const Entry entry(zip_fopen(archive, partName(format), 0));
    if (!entry)
        return std::nullopt;
    std::string xml;
    char buffer[65536];
    while (xml.size() < limit) {
        const auto wanted = static_cast<zip_uint64_t>(std::min(sizeof buffer, limit - xml.size()));
        const zip_int64_t got = zip_fread(entry.get(), buffer, wanted);
        if (got < 0)
            return xml.empty() ? std::nullopt : std::optional<std::string>(std::move(xml));
        if (got == 0)
            break;
        xml.append(buffer, static_cast<std::size_t>(got));
    }
    return xml;
}

int spaceCount(const xmlNode* node) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>("c"));
    if (!value)
        return 1;
    const long count = std::strtol(reinterpret_cast<const char*>(value), nullptr, 10);
    xmlFree(value);
    return count < 1 ? 1 : static_cast<int>(std::min(count, 64L));
}

bool localName(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

} // namespace

std::optional<std::string> officeXmlText(std::string_view xml, Format format, std::size_t maxTextBytes) {
    // No entity substitution, no DTD loading, no network: the part is read as it stands.
    const int options = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                        XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    const xml::Document document = xml::parse(xml, xml::Syntax::xml, options);
    if (!document)
        return std::nullopt;
    xmlNode* root = xmlDocGetRootElement(document.get());
    std::string text;
    if (!root)
        return text;
    const bool docx = format == Format::docx;
    bool inText = false; // inside a DOCX w:t run, whose character data is the text
    xml::walk(
        root,
        [&](xmlNode* node) {
            if (text.size() >= maxTextBytes)
                return false;
            if (node->type == XML_TEXT_NODE) {
                // ODT keeps its text directly in paragraphs and spans; DOCX only in w:t.
                if ((!docx || inText) && node->content)
                    text.append(reinterpret_cast<const char*>(node->content));
                return false;
            }
            if (node->type != XML_ELEMENT_NODE)
                return false;
            if (docx) {
                if (localName(node, "t"))
                    inText = true;
                else if (localName(node, "tab"))
                    text.push_back('\t');
                else if (localName(node, "br") || localName(node, "cr"))
                    text.push_back('\n');
                else if (localName(node, "instrText") || localName(node, "delText"))
                    return false;
            } else {
                if (localName(node, "tab"))
                    text.push_back('\t');
                else if (localName(node, "line-break"))
                    text.push_back('\n');
                else if (localName(node, "s"))
                    text.append(static_cast<std::size_t>(spaceCount(node)), ' ');
                else if (localName(node, "note") || localName(node, "annotation") ||
                         localName(node, "tracked-changes"))
                    return false;
            }
            return true;
        },
        [&](xmlNode* node) {
            if (docx && localName(node, "t"))
                inText = false;
            if (localName(node, "p") || localName(node, "h"))
                text.push_back('\n');
        });
    return text;
}

std::optional<std::string> officeFileText(const std::string& path, Format format, std::size_t maxXmlBytes,
                                          std::size_t maxTextBytes) {
    int error = 0;
    const Archive archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive)
        return std::nullopt;
    const auto xml = readPart(archive.get(), format, maxXmlBytes);
    if (!xml)
        return std::nullopt;
    return officeXmlText(*xml, format, maxTextBytes);
}

std::optional<std::string> officeArchiveText(std::string_view archiveBytes, Format format,
                                             std::size_t maxXmlBytes, std::size_t maxTextBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archiveBytes.data(), archiveBytes.size(), 0, &error);
    zip_error_fini(&error);
    if (!source)
        return std::nullopt;
    zip_error_init(&error);
    const Archive archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return std::nullopt;
    }
    const auto xml = readPart(archive.get(), format, maxXmlBytes);
    if (!xml)
        return std::nullopt;
    return officeXmlText(*xml, format, maxTextBytes);
}

} // namespace tessellar::markup
