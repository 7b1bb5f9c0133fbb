#include "modules/markup/XmlSupport.h"

#include <libxml/xmlerror.h>
#include <mutex>

namespace tessellar::xml {
namespace {

void ignoreGeneric(void*, const char*, ...) {}
void ignoreStructured(void*, xmlErrorPtr) {}

} // namespace

void silenceErrors() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, ignoreGeneric);
        xmlSetStructuredErrorFunc(nullptr, ignoreStructured);
    });
}

} // namespace tessellar::xml
