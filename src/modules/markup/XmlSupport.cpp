#include "modules/markup/XmlSupport.h"

#include <algorithm>
#include <climits>
#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>
#include <mutex>

namespace tessellar::xml {
namespace {

void ignoreGeneric(void*, const char*, ...) {}
void ignoreStructured(void*, xmlErrorPtr) {}

} // namespace

Document parse(std::string_view bytes, Syntax syntax, int options) {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, ignoreGeneric);
        xmlSetStructuredErrorFunc(nullptr, ignoreStructured);
    });
    const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    return Document(syntax == Syntax::html ? htmlReadMemory(bytes.data(), size, nullptr, "UTF-8", options)
                                           : xmlReadMemory(bytes.data(), size, nullptr, "UTF-8", options));
}

} // namespace tessellar::xml
