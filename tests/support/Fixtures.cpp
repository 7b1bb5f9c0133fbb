#include "support/Fixtures.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
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

namespace tessellar::testing {

std::vector<Row> tableRows(const std::filesystem::path& file) {
    std::ifstream in(file);
    EXPECT_TRUE(in) << file;
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.starts_with('#'))
            continue;
        Row row(1);
        for (std::size_t k = 0; k < line.size(); ++k) {
            const char c = line[k];
            if (c == '\t') {
                row.emplace_back();
            } else if (c != '\\' || k + 1 == line.size()) {
                row.back() += c;
            } else if (const char e = line[++k]; e == 'x' || e == 'u' || e == 'U') {
                const std::size_t digits = e == 'x' ? 2 : e == 'u' ? 4 : 8;
                const auto value = std::stoul(line.substr(k + 1, digits), nullptr, 16);
                k += digits;
                if (e == 'x')
                    row.back() += static_cast<char>(value);
                else
                    icu::UnicodeString(static_cast<UChar32>(value)).toUTF8String(row.back());
            } else {
                row.back() += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int checkTable(const std::filesystem::path& file, const std::map<std::string, Answer>& functions) {
    std::set<std::string> used;
    int count = 0;
    for (const Row& row : tableRows(file)) {
        std::string shownRow;
        for (const auto& cell : row)
            shownRow += (shownRow.empty() ? "" : " | ") + cell;
        const auto function = functions.find(row[0]);
        if (function == functions.end() || row.size() < 2) {
            ADD_FAILURE() << "unknown function or no answer: " << shownRow;
            continue;
        }
        EXPECT_EQ(function->second(row), row.back()) << file.filename() << ": " << shownRow;
        used.insert(row[0]);
        ++count;
    }
    for (const auto& [name, answer] : functions)
        EXPECT_TRUE(used.contains(name)) << "no rows for " << name << " in " << file.filename();
    return count;
}

} // namespace tessellar::testing
