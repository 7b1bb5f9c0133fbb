#include "modules/markup/MarkupText.h"
#include "modules/markup/XmlSupport.h"

#include <libxml/HTMLparser.h>

namespace tessellar::markup {
namespace {

bool isSkipped(const xmlNode* node) {
    return xml::named(node, "head") || xml::named(node, "script") || xml::named(node, "style") ||
           xml::named(node, "noscript") || xml::named(node, "template") || xml::named(node, "title");
}

bool isBlock(const xmlNode* node) {
    static constexpr const char* blocks[] = {
        "p",     "div",        "h1",      "h2",      "h3",     "h4",     "h5", "h6", "li", "tr", "pre",
        "table", "blockquote", "section", "article", "header", "footer", "ul", "ol", "dt", "dd"};
    for (const char* name : blocks)
        if (xml::named(node, name))
            return true;
    return false;
}

void endLine(std::string& text) {
    if (!text.empty() && text.back() != '\n')
        text.push_back('\n');
}

// HTML collapses runs of white space in ordinary text into one space.
void appendCollapsed(std::string& text, const char* content) {
    for (const char* c = content; *c; ++c) {
        const bool space = *c == ' ' || *c == '\t' || *c == '\n' || *c == '\r' || *c == '\f';
        if (space) {
            if (!text.empty() && text.back() != ' ' && text.back() != '\n')
                text.push_back(' ');
        } else {
            text.push_back(*c);
        }
    }
}

} // namespace

std::optional<std::string> htmlText(std::string_view html, std::size_t maxBytes) {
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                        HTML_PARSE_NOBLANKS | HTML_PARSE_COMPACT;
    const xml::Document document = xml::parse(html, xml::Syntax::html, options);
    if (!document)
        return std::nullopt;
    xmlNode* root = xmlDocGetRootElement(document.get());
    std::string text;
    if (!root)
        return text;
    int preformatted = 0;
    xml::walk(
        root,
        [&](xmlNode* node) {
            if (text.size() >= maxBytes)
                return false;
            if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
                const auto* content = reinterpret_cast<const char*>(node->content);
                if (content && preformatted > 0)
                    text.append(content);
                else if (content)
                    appendCollapsed(text, content);
                return false;
            }
            if (node->type != XML_ELEMENT_NODE || isSkipped(node))
                return false;
            if (xml::named(node, "br"))
                text.push_back('\n');
            else if (xml::named(node, "td") || xml::named(node, "th"))
                text.push_back('\t');
            else if (isBlock(node))
                endLine(text);
            if (xml::named(node, "pre"))
                ++preformatted;
            return true;
        },
        [&](xmlNode* node) {
            if (node->type != XML_ELEMENT_NODE)
                return;
            if (xml::named(node, "pre"))
                --preformatted;
            if (isBlock(node))
                endLine(text);
        });
    return text;
}

} // namespace tessellar::markup
