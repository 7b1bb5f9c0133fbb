#include "kit/scan/phone/PhoneNumberScanner.h"

#include "kit/base/LazyModule.h"
#include "kit/scan/phone/PhoneMatcher.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <array>
#include <cctype>
#include <unicode/uchar.h>

// libphonenumber's matcher copies the rest of the text for every candidate it looks at, so on
// a long text it takes quadratic time. It is therefore run only over short windows: runs of the
// characters a written phone number consists of (digits, plus signs, the punctuation and
// spaces the library accepts between digits), with one character of context on either side so
// its own rules about neighbouring letters still apply. Long runs are cut into overlapping
// windows at spaces. Every character lands in at most two windows of bounded size: linear time.
// The library still spends several microseconds per byte of digit-heavy text (its regular
// expressions backtrack), so windows that yield nothing draw on a per-text budget; a text
// that exhausts it (tables of figures, serial numbers, hostile input) reports the numbers
// found up to that point.

namespace tessellar {
namespace {

// Longer than any written number with an extension; windows overlap by enough to hold one.
constexpr std::size_t windowBytes = 160;
constexpr std::size_t overlapBytes = 64;
// No valid number has fewer digits, even with its country code; this skips years, times and prices.
constexpr int minimumDigits = 5;
// Bytes of windows without a number that one text may cost: about half a second in the worst case.
constexpr std::size_t fruitlessBudgetBytes = 64 * 1024;

// Characters the library accepts inside a written number (its punctuation, plus signs, digits).
bool isPhoneChar(UChar32 c) {
    if (c < 0x80)
        return (c >= '0' && c <= '9') ||
               std::string_view("+-x.()[]/~ ").find(static_cast<char>(c)) != std::string_view::npos;
    switch (c) {
    case 0x00A0:
    case 0x00AD:
    case 0x200B:
    case 0x2060:
    case 0x2212:
    case 0x2053:
    case 0x223C:
    case 0x3000:
    case 0x30FC:
    case 0xFF08:
    case 0xFF09:
    case 0xFF0B:
    case 0xFF3B:
    case 0xFF3D:
    case 0xFF5E:
        return true;
    default:
        return (c >= 0x2010 && c <= 0x2015) || (c >= 0xFF0D && c <= 0xFF0F) || u_isdigit(c);
    }
}

// Words that introduce an extension after a number ("650 253 0000 ext. 12"); the run goes on
// over them so the library sees the extension too.
constexpr std::array<std::string_view, 4> extensionWords{"extension", "extn", "ext", "#"};

struct Position {
    std::size_t byte = 0;
    int32_t unit = 0;
};

class Scanner {
public:
    Scanner(std::string_view text, LazyModule& module)
        : text_(text), module_(module), region_(user_locale::regionCode()) {}

    std::vector<DataDetector::Match> scan() {
        Position p;
        while (p.byte < text_.size() && budget_ > 0) {
            const Position before = p;
            UChar32 c = next(p);
            if (!isPhoneChar(c))
                continue;
            // A run of phone characters: [runStart, runEnd), with its digit count.
            const Position runStart = before;
            Position runEnd = p;
            int digits = u_isdigit(c) ? 1 : 0;
            while (runEnd.byte < text_.size()) {
                Position q = runEnd;
                c = next(q);
                if (!isPhoneChar(c)) {
                    const std::size_t word = extensionWordLength(runEnd.byte);
                    if (digits < minimumDigits || word == 0)
                        break;
                    runEnd = advance(runEnd, runEnd.byte + word);
                    continue;
                }
                digits += u_isdigit(c) ? 1 : 0;
                runEnd = q;
            }
            if (digits >= minimumDigits)
                scanRun(runStart, runEnd);
            p = runEnd;
        }
        return std::move(found_);
    }

private:
    std::string_view text_;
    // Loaded at the first run of digits: most texts never need the library.
    LazyModule& module_;
    const PhoneMatcher* matcher_ = nullptr;
    std::string region_;
    std::vector<DataDetector::Match> found_;
    std::size_t lastEnd_ = 0; // byte after the last match: overlapping windows report a number once
    std::size_t budget_ = fruitlessBudgetBytes;

    UChar32 next(Position& p) const {
        const char32_t c = unicode::nextScalar(text_, p.byte);
        p.unit += c > 0xFFFF ? 2 : 1;
        return static_cast<UChar32>(c);
    }

    bool isContinuation(std::size_t byte) const {
        return byte < text_.size() && (static_cast<unsigned char>(text_[byte]) & 0xC0) == 0x80;
    }

    // The length of an extension word (any case) at `byte`, 0 when there is none.
    std::size_t extensionWordLength(std::size_t byte) const {
        for (const auto word : extensionWords) {
            if (text_.size() - byte < word.size())
                continue;
            bool same = true;
            for (std::size_t k = 0; k < word.size() && same; ++k)
                same = (text_[byte + k] | 0x20) == word[k] || text_[byte + k] == word[k];
            const bool wordEnds = byte + word.size() == text_.size() ||
                                  !std::isalpha(static_cast<unsigned char>(text_[byte + word.size()]));
            if (same && wordEnds)
                return word.size();
        }
        return 0;
    }

    // The UTF-16 position of byte `target`, walking forward from `from` (never backwards).
    Position advance(Position from, std::size_t target) const {
        while (from.byte < target)
            next(from);
        return from;
    }

    std::size_t previousBoundary(std::size_t byte) const {
        do
            --byte;
        while (byte > 0 && isContinuation(byte));
        return byte;
    }

    void scanRun(Position start, Position end) {
        Position windowStart = start;
        while (true) {
            std::size_t windowEnd = end.byte;
            if (windowEnd - windowStart.byte > windowBytes) {
                // Cut at the last space inside the window (or hard, in a run without one).
                windowEnd = windowStart.byte + windowBytes;
                const auto space = text_.rfind(' ', windowEnd);
                if (space != std::string_view::npos && space > windowStart.byte + overlapBytes)
                    windowEnd = space;
                while (isContinuation(windowEnd))
                    --windowEnd;
            }
            scanWindow(windowStart, windowEnd);
            if (windowEnd >= end.byte || budget_ == 0)
                return;
            // Restart after a space shortly before the cut, so a number across it is seen whole.
            std::size_t restart = windowEnd - overlapBytes;
            if (const auto space = text_.find(' ', restart); space < windowEnd)
                restart = space + 1;
            while (isContinuation(restart))
                ++restart;
            windowStart = advance(windowStart, restart);
        }
    }

    void scanWindow(Position start, std::size_t endByte) {
        if (!matcher_ && !(matcher_ = module_.get<PhoneMatcher>())) {
            budget_ = 0; // without the library no number can be read
            return;
        }
        // One character of context either side, so the library sees what touches the run.
        const std::size_t from = start.byte > 0 ? previousBoundary(start.byte) : 0;
        std::size_t to = endByte;
        if (to < text_.size()) {
            Position after{to, 0};
            next(after);
            to = after.byte;
        }
        const std::string window(text_.substr(from, to - from));
        const std::size_t before = found_.size();
        Position cursor{from, start.unit - unitsOf(from, start.byte)};
        for (PhoneMatcher::Found& match : matcher_->matches(window, region_)) {
            const std::size_t matchStart = from + match.start;
            const std::size_t matchEnd = matchStart + match.raw.size();
            if (matchStart < lastEnd_ || matchStart < cursor.byte)
                continue;
            cursor = advance(cursor, matchStart);
            const Position endPosition = advance(cursor, matchEnd);
            DataDetector::Match m;
            m.type = DataDetector::Type::phoneNumber;
            m.range = TextRange{cursor.unit, endPosition.unit - cursor.unit};
            m.phoneNumber = std::move(match.raw);
            found_.push_back(std::move(m));
            lastEnd_ = matchEnd;
            cursor = endPosition;
        }
        if (found_.size() == before)
            budget_ -= std::min(budget_, window.size());
    }

    int32_t unitsOf(std::size_t from, std::size_t to) const {
        Position p{from, 0};
        while (p.byte < to)
            next(p);
        return p.unit;
    }
};

} // namespace

std::vector<DataDetector::Match> PhoneNumberScanner::scan(std::string_view text) {
    static LazyModule module(PhoneMatcher::moduleFile, PhoneMatcher::entryPoint, Log::Category::pipeline);
    // The library gives up on invalid UTF-8; a round trip through ICU turns bad bytes into
    // U+FFFD (one UTF-16 unit each, as the other recognisers count them).
    const std::string valid = unicode::toUTF8(unicode::toICU(text));
    return Scanner(valid, module).scan();
}

} // namespace tessellar
