#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <memory>
#include <string>
#include <string_view>

namespace tessellar::xml {

struct DocumentFree {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentFree>;

enum class Syntax { html, xml };

// The document in `bytes` (read as UTF-8, at most INT_MAX bytes of it) with libxml2's errors
// kept off stderr, where for documents we read they are noise. Null when nothing parses.
Document parse(std::string_view bytes, Syntax syntax, int options);

// Visits every node in document order without recursion, so nesting depth costs no stack.
// `enter` returns false to skip a node's children; `leave` runs after its children.
template <typename Enter, typename Leave> void walk(xmlNode* root, Enter enter, Leave leave) {
    xmlNode* node = root;
    while (node) {
        if (enter(node) && node->children) {
            node = node->children;
            continue;
        }
        while (node && node != root->parent) {
            leave(node);
            if (node == root)
                return;
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
        }
        if (!node || node == root->parent)
            return;
    }
}

inline bool named(const xmlNode* node, const char* name) {
    return node->name && xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

} // namespace tessellar::xml
