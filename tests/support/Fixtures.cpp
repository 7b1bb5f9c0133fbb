#include "support/Fixtures.h"

#include <algorithm>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <vector>

namespace tessellar::testing {
namespace {

std::u32string scalars(const std::string& text) {
    std::u32string out;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    for (int32_t i = 0; i < unicode.length(); i = unicode.moveIndex32(i, 1))
        if (const UChar32 c = unicode.char32At(i); !u_isUWhiteSpace(c))
            out.push_back(static_cast<char32_t>(c));
    return out;
}

} // namespace

double characterErrorRate(const std::string& expected, const std::string& recognised) {
    const std::u32string a = scalars(expected), b = scalars(recognised);
    if (a.empty())
        return b.empty() ? 0.0 : 1.0;
    std::vector<std::size_t> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min(
                {previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap(previous, current);
    }
    return double(previous[b.size()]) / double(a.size());
}

} // namespace tessellar::testing
