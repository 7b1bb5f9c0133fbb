#include "kit/scan/address/AddressScanner.h"

#include "kit/scan/address/AddressLineParser.h"
#include "kit/scan/address/AddressToken.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <optional>

namespace tessellar {
namespace {

using address::AddressFragment;
using address::AddressLine;
using address::AddressPart;

// Joins the lines of a text into addresses: a street line, an optional unit line, a
// "City, ST 12345" line, an optional country line.
class Assembler {
public:
    explicit Assembler(const icu::UnicodeString& text) : text_(text) {}

    void line(const AddressLine& line) {
        if (pending_) {
            if (line.wholeUnit && !pending_->unitLine) {
                pending_->unitLine = line.wholeUnit;
                pending_->end = line.wholeUnit->end;
                pending_->hasUnit = true;
                return;
            }
            const bool needsZip = pending_->suffixless || pending_->caseless;
            if (line.wholePlace && (!needsZip || (line.wholePlace->state && line.wholePlace->zip))) {
                AddressFragment merged = *pending_;
                merged.city = line.wholePlace->city;
                merged.state = line.wholePlace->state;
                merged.zip = line.wholePlace->zip;
                merged.country = line.wholePlace->country;
                merged.end = line.wholePlace->end;
                pending_.reset();
                found_.push_back(merged);
                open_ = !merged.country;
                return;
            }
            flush();
        }
        if (open_ && line.wholeCountry) {
            found_.back().country = line.wholeCountry;
            found_.back().end = line.wholeCountry->end;
            open_ = false;
            return;
        }
        found_.insert(found_.end(), line.complete.begin(), line.complete.end());
        open_ = !line.complete.empty() && line.lastEndsLine && !line.complete.back().country;
        pending_ = line.openStreet;
    }

    // A blank line ends whatever address is in progress.
    void blank() {
        flush();
        open_ = false;
    }

    std::vector<DataDetector::Match> finish() {
        flush();
        std::vector<DataDetector::Match> out;
        out.reserve(found_.size());
        for (const AddressFragment& f : found_) {
            DataDetector::Match match;
            match.type = DataDetector::Type::address;
            match.range = TextRange{f.start, f.end - f.start};
            if (f.street) {
                std::string street = text(*f.street);
                if (f.unitLine)
                    street += ", " + text(*f.unitLine);
                match.address.emplace("street", std::move(street));
            }
            if (f.city)
                match.address.emplace("city", text(*f.city));
            if (f.state)
                match.address.emplace("state", text(*f.state));
            if (f.zip)
                match.address.emplace("ZIP", text(*f.zip));
            if (f.country)
                match.address.emplace("country", text(*f.country));
            out.push_back(std::move(match));
        }
        return out;
    }

private:
    const icu::UnicodeString& text_;
    std::vector<AddressFragment> found_;
    std::optional<AddressFragment> pending_;
    bool open_ = false; // the last address ended its line and may take a country line

    // A street with nothing after it counts when it stands on its own line and looks like one.
    void flush() {
        if (!pending_)
            return;
        const AddressFragment& f = *pending_;
        if (f.anchored && !f.suffixless && !f.caseless && (f.common || f.hasUnit)) {
            found_.push_back(f);
            open_ = false;
        }
        pending_.reset();
    }

    std::string text(const AddressPart& part) const {
        return normalizedWhitespace(unicode::toUTF8(text_.tempSubString(part.start, part.end - part.start)));
    }
};

// A line written without capitals ("48 oak avenue portland or 97205") is read as if every
// word were capitalised; the parser then asks for a state and ZIP before it believes it.
bool markCaseless(std::vector<address::AddressToken>& tokens) {
    bool hasLetters = false;
    for (const address::AddressToken& token : tokens) {
        if (token.hasUpper)
            return false;
        hasLetters = hasLetters || (token.isWord() && !token.hasDigit);
    }
    if (!hasLetters)
        return false;
    for (address::AddressToken& token : tokens) {
        if (!token.isWord())
            continue;
        token.upperInitial = true;
        token.allCaps = token.key.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos;
    }
    return true;
}

} // namespace

std::vector<DataDetector::Match> AddressScanner::scan(std::string_view text) {
    const icu::UnicodeString u = unicode::toICU(text);
    Assembler assembler(u);
    std::vector<address::AddressToken> tokens;
    for (const auto& [start, end] : address::AddressTokenizer::lines(u)) {
        address::AddressTokenizer::tokenize(u, start, end, tokens);
        if (tokens.empty())
            assembler.blank();
        else {
            const bool caseless = markCaseless(tokens);
            assembler.line(address::AddressLineParser::parse(tokens, caseless));
        }
    }
    return assembler.finish();
}

} // namespace tessellar
