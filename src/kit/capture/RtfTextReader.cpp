#include "kit/capture/RtfTextReader.h"

#include "kit/base/Hex.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <utility>
#include <vector>

namespace tessellar {
namespace {

constexpr int defaultCodePage = 1252;

// Destinations whose content is not document text (the font table is read for its code pages).
constexpr std::array<std::string_view, 39> skippedDestinations{
    "colortbl",         "stylesheet",   "info",      "pict",
    "object",           "objdata",      "header",    "headerl",
    "headerr",          "headerf",      "footer",    "footerl",
    "footerr",          "footerf",      "themedata", "colorschememapping",
    "datastore",        "latentstyles", "listtable", "listoverridetable",
    "rsidtbl",          "generator",    "xmlnstbl",  "fldinst",
    "filetbl",          "revtbl",       "pgdsctbl",  "bkmkstart",
    "bkmkend",          "nonshppict",   "shpinst",   "template",
    "docvar",           "userprops",    "private",   "mmathPr",
    "expandedcolortbl", "listpicture",  "fontemb"};

// Control words that stand for one character of text.
constexpr std::array<std::pair<std::string_view, char16_t>, 22> characterWords{{
    {"par", u'\n'},         {"line", u'\n'},          {"sect", u'\n'},          {"page", u'\n'},
    {"row", u'\n'},         {"tab", u'\t'},           {"cell", u'\t'},          {"nestcell", u'\t'},
    {"emdash", u'\u2014'},  {"endash", u'\u2013'},    {"bullet", u'\u2022'},    {"lquote", u'\u2018'},
    {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"emspace", u'\u2003'},
    {"enspace", u'\u2002'}, {"qmspace", u'\u2005'},   {"zwj", u'\u200D'},       {"zwnj", u'\u200C'},
    {"ltrmark", u'\u200E'}, {"rtlmark", u'\u200F'},
}};

// Font character sets (\fcharset) and the Windows code pages that encode them.
constexpr std::array<std::pair<int, int>, 17> charsetCodePages{{
    {0, 0}, // the document's code page
    {2, 1252},
    {77, 10000},
    {128, 932},
    {129, 949},
    {130, 1361},
    {134, 936},
    {136, 950},
    {161, 1253},
    {162, 1254},
    {163, 1258},
    {177, 1255},
    {178, 1256},
    {186, 1257},
    {204, 1251},
    {222, 874},
    {238, 1250},
}};

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openCodePage(int codePage) {
    const std::vector<std::string> names =
        codePage == 10000
            ? std::vector<std::string>{"macintosh"}
            : std::vector<std::string>{"windows-" + std::to_string(codePage), "cp" + std::to_string(codePage),
                                       "ibm-" + std::to_string(codePage)};
    for (const auto& name : names) {
        UErrorCode status = U_ZERO_ERROR;
        Converter converter(ucnv_open(name.c_str(), &status));
        if (U_SUCCESS(status) && converter)
            return converter;
    }
    return nullptr;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : in_(rtf) {}

    std::string read() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                controlToken();
            } else {
                ++pos_;
                plainByte(c);
            }
        }
        flushBytes();
        return unicode::toUTF8(out_);
    }

private:
    enum class Kind { text, skipped, fontTable };
    struct Group {
        Kind kind = Kind::text;
        int unicodeSkip = 1; // \ucN: fallback characters that follow each \uN
        int codePage = -1;   // -1: the default font's; 0: the document's
    };

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_{Group{}};
    bool groupStart_ = false;    // no token read yet in the innermost group
    bool ignorableNext_ = false; // \* seen: the destination that follows is skipped
    int pendingSkip_ = 0;        // fallback characters still to drop after \uN
    int documentCodePage_ = defaultCodePage;
    int defaultFont_ = -1;
    int currentFont_ = -1; // inside the font table: the font being described
    std::map<int, int> fontCodePages_;
    icu::UnicodeString out_;
    std::string bytes_; // text bytes awaiting decoding in `bytesCodePage_`
    int bytesCodePage_ = defaultCodePage;
    std::map<int, Converter> converters_;

    Group& group() { return groups_.back(); }
    bool skipping() const { return groups_.back().kind != Kind::text; }

    void openGroup() {
        pendingSkip_ = 0;
        groups_.push_back(groups_.back());
        groupStart_ = true;
    }

    void closeGroup() {
        pendingSkip_ = 0;
        flushBytes();
        if (groups_.size() > 1)
            groups_.pop_back();
        groupStart_ = false;
        ignorableNext_ = false;
    }

    int effectiveCodePage() const {
        int page = groups_.back().codePage;
        if (page < 0) {
            const auto f = fontCodePages_.find(defaultFont_);
            page = f != fontCodePages_.end() ? f->second : 0;
        }
        return page == 0 ? documentCodePage_ : page;
    }

    // A literal byte of the document (not a control).
    void plainByte(char c) {
        groupStart_ = false;
        if (c == '\r' || c == '\n')
            return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (skipping())
            return;
        if (c == '\t') {
            appendCharacter(u'\t');
            return;
        }
        if (static_cast<unsigned char>(c) < 0x20)
            return;
        textByte(c);
    }

    void textByte(char c) {
        const int page = effectiveCodePage();
        if (page != bytesCodePage_)
            flushBytes();
        bytesCodePage_ = page;
        bytes_ += c;
    }

    void appendCharacter(char16_t c) {
        flushBytes();
        out_.append(c);
    }

    void flushBytes() {
        if (bytes_.empty())
            return;
        auto found = converters_.find(bytesCodePage_);
        if (found == converters_.end())
            found = converters_.emplace(bytesCodePage_, openCodePage(bytesCodePage_)).first;
        UConverter* converter = found->second ? found->second.get() : fallbackConverter();
        if (converter) {
            UErrorCode status = U_ZERO_ERROR;
            icu::UnicodeString decoded(bytes_.data(), static_cast<int32_t>(bytes_.size()), converter, status);
            if (U_SUCCESS(status))
                out_.append(decoded);
        }
        bytes_.clear();
    }

    UConverter* fallbackConverter() {
        auto found = converters_.find(defaultCodePage);
        if (found == converters_.end())
            found = converters_.emplace(defaultCodePage, openCodePage(defaultCodePage)).first;
        return found->second.get();
    }

    void controlToken() {
        ++pos_; // the backslash
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++pos_;
        if (c == '\'') {
            hexEscape();
            return;
        }
        if (c == '*') {
            // Marks the destination word that follows at the start of this group.
            ignorableNext_ = groupStart_;
            return;
        }
        groupStart_ = false;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (skipping())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            textByte(c);
            break;
        case '~':
            appendCharacter(u'\u00A0');
            break;
        case '_':
            appendCharacter(u'\u2011');
            break;
        case '\r':
        case '\n':
            appendCharacter(u'\n');
            break;
        default:
            break; // \- optional hyphen, \: index subentry, \| formula: no text
        }
    }

    void hexEscape() {
        groupStart_ = false;
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < in_.size() && hexValue(in_[pos_]) >= 0) {
            value = value * 16 + hexValue(in_[pos_]);
            ++pos_;
            ++digits;
        }
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (digits > 0 && !skipping())
            textByte(static_cast<char>(value));
    }

    void controlWord() {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        std::optional<long long> parameter;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < in_.size() && isDigit(in_[pos_])) {
            long long value = 0;
            while (pos_ < in_.size() && isDigit(in_[pos_])) {
                value = std::min<long long>(value * 10 + (in_[pos_] - '0'), INT_MAX);
                ++pos_;
            }
            parameter = negative ? -value : value;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;

        const bool atGroupStart = groupStart_;
        groupStart_ = false;
        if (word == "bin") {
            // Raw bytes follow; they are never text.
            const auto length = static_cast<std::size_t>(std::max<long long>(parameter.value_or(0), 0));
            pos_ += std::min(length, in_.size() - pos_);
            return;
        }
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (ignorableNext_ && atGroupStart) {
            ignorableNext_ = false;
            group().kind = Kind::skipped;
            return;
        }
        ignorableNext_ = false;
        if (word == "fonttbl") {
            flushBytes();
            group().kind = Kind::fontTable;
            return;
        }
        if (std::ranges::find(skippedDestinations, word) != skippedDestinations.end()) {
            flushBytes();
            group().kind = Kind::skipped;
            return;
        }
        if (group().kind == Kind::fontTable) {
            fontTableWord(word, parameter);
            return;
        }
        documentWord(word, parameter);
    }

    void fontTableWord(std::string_view word, std::optional<long long> parameter) {
        if (!parameter)
            return;
        const int value = static_cast<int>(*parameter);
        if (word == "f") {
            currentFont_ = value;
        } else if (word == "fcharset" && currentFont_ >= 0) {
            for (const auto& [charset, page] : charsetCodePages)
                if (charset == value)
                    fontCodePages_[currentFont_] = page;
        } else if (word == "cpg" && currentFont_ >= 0) {
            fontCodePages_[currentFont_] = value;
        }
    }

    void documentWord(std::string_view word, std::optional<long long> parameter) {
        // Document-wide settings apply even inside groups that are otherwise skipped.
        if (word == "ansi") {
            documentCodePage_ = 1252;
        } else if (word == "mac") {
            documentCodePage_ = 10000;
        } else if (word == "pc") {
            documentCodePage_ = 437;
        } else if (word == "pca") {
            documentCodePage_ = 850;
        } else if (word == "ansicpg" && parameter && *parameter > 0) {
            documentCodePage_ = static_cast<int>(*parameter);
        } else if (word == "deff" && parameter) {
            defaultFont_ = static_cast<int>(*parameter);
        } else if (word == "uc" && parameter) {
            group().unicodeSkip = static_cast<int>(std::clamp<long long>(*parameter, 0, 16));
        } else if (word == "f" && parameter) {
            const auto f = fontCodePages_.find(static_cast<int>(*parameter));
            group().codePage = f != fontCodePages_.end() ? f->second : 0;
        }
        if (skipping())
            return;
        if (word == "u" && parameter) {
            auto unit = static_cast<long long>(*parameter);
            if (unit < 0)
                unit += 65536;
            appendCharacter(static_cast<char16_t>(unit & 0xFFFF));
            pendingSkip_ = group().unicodeSkip;
            return;
        }
        for (const auto& [name, character] : characterWords) {
            if (name == word) {
                appendCharacter(character);
                return;
            }
        }
    }
};

} // namespace

std::optional<std::string> RtfTextReader::plainText(std::string_view rtf) {
    // Blank lines before the document are no part of it.
    const auto start = rtf.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !rtf.substr(start).starts_with("{\\rtf"))
        return std::nullopt;
    return Reader(rtf.substr(start)).read();
}

} // namespace tessellar
