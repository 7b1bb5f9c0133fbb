#include "kit/actions/developer/ResultText.h"

#include "kit/text/StringHelpers.h"

namespace tessellar {

std::string resultBody(std::string_view text) {
    return truncated(text, resultBodyLimit, "\u2026");
}

} // namespace tessellar
