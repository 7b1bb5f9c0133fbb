#include "kit/scan/link/LinkScanner.h"

#include "kit/scan/link/LinkScheme.h"
#include "kit/scan/link/PublicSuffixList.h"
#include "kit/text/Unicode.h"

#include <array>
#include <string>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

// How links are found, in one left-to-right pass over the UTF-16 text:
//  - a known scheme at a word start ("https://…", "mailto:…", "tel:…");
//  - otherwise, at a word start, a run of host or mailbox characters: followed by "@" it is
//    an e-mail address (reported as mailto:), else a host name whose top-level domain is on
//    the public suffix list, or an IPv4 address, optionally with a port and a path (reported
//    with http:).
// Trailing sentence punctuation and unbalanced closing brackets are left out, as people
// write links in prose. A failed attempt resumes after everything it read, so no character
// is examined more than a few times and the scan stays linear in the text.

namespace tessellar {
namespace {

using Match = DataDetector::Match;

constexpr std::size_t maximumLabelLength = 63;
constexpr std::size_t maximumHostLength = 253;

// Top-level domains that are also common file extensions: a bare "setup.py" or "notes.zip"
// in prose is a file name. With "www.", a port or a path they still count as links.
constexpr std::array fileExtensionDomains{std::u16string_view(u"zip"), std::u16string_view(u"mov"),
                                          std::u16string_view(u"py"),  std::u16string_view(u"sh"),
                                          std::u16string_view(u"pl"),  std::u16string_view(u"md"),
                                          std::u16string_view(u"rb"),  std::u16string_view(u"cs"),
                                          std::u16string_view(u"ps"),  std::u16string_view(u"so")};

bool isASCIIAlpha(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isASCIIDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
bool isOneOf(char32_t c, std::u16string_view set) {
    return c < 0x80 && set.find(static_cast<char16_t>(c)) != set.npos;
}

// Scripts written without spaces between words: a link typed into such text touches its
// neighbours, so these letters neither join a host name nor keep a link from starting.
bool isUnspacedScriptLetter(char32_t c) {
    if (c < 0x0E00)
        return false;
    const auto cp = static_cast<UChar32>(c);
    if (u_hasBinaryProperty(cp, UCHAR_IDEOGRAPHIC))
        return true;
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(cp, &status);
    return U_SUCCESS(status) && (script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA ||
                                 script == USCRIPT_THAI || script == USCRIPT_LAO || script == USCRIPT_KHMER);
}

// Letters and digits of any script, and combining marks that continue them.
bool isLetterOrDigit(char32_t c) {
    if (c < 0x80)
        return isASCIIAlpha(c) || isASCIIDigit(c);
    if (c == 0xFFFD)
        return false;
    return u_isalnum(static_cast<UChar32>(c)) || (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

// The letters and digits that make up host names and mailboxes.
bool isWordChar(char32_t c) {
    return isLetterOrDigit(c) && !isUnspacedScriptLetter(c);
}

// After one of these a position is inside a larger token, so no scheme-less link starts there.
bool gluesToNext(char32_t c) {
    return isWordChar(c) || isOneOf(c, u".-_@/\\%+~#&$^");
}

// Characters of a host name or of a mailbox's local part.
bool isMailboxOrHostChar(char32_t c) {
    return isWordChar(c) || isOneOf(c, u".-_%+");
}
// The other characters a mailbox may hold ("d'angelo", "first+tag", "o=x"). Written after
// "mailto:" all of them count; in running text only the apostrophe of names such as O'Brien, as
// the rest reads as punctuation there.
bool isLocalPartChar(char32_t c) {
    return isMailboxOrHostChar(c) || isOneOf(c, u"'!#$&*=?^`{|}~/");
}
bool isBareLocalPartChar(char32_t c) {
    return isMailboxOrHostChar(c) || c == '\'';
}
bool isHostChar(char32_t c) {
    return isWordChar(c) || c == '-' || c == '.';
}

// Characters a link may run over once its host is known; non-ASCII punctuation, symbols,
// spaces, U+FFFD and lone surrogates end it. Only a link with its scheme written out runs on
// over letters of unspaced scripts ("https://zh.wikipedia.org/wiki/中国").
bool isURLChar(char32_t c) {
    if (c < 0x80)
        return c > 0x20 && c != 0x7F && !isOneOf(c, u"<>\"`|\\^");
    return isWordChar(c);
}
bool isSchemeURLChar(char32_t c) {
    return isURLChar(c) || isLetterOrDigit(c);
}

// The outcome of one attempt: whether it added a match, and where scanning goes on.
struct Attempt {
    bool matched = false;
    std::size_t resume = 0;
};

class Scanner {
public:
    explicit Scanner(const icu::UnicodeString& text)
        : s_(text.getBuffer(), static_cast<std::size_t>(text.length())) {}

    std::vector<Match> scan() {
        std::size_t i = 0;
        while (i < s_.size()) {
            const char32_t before = i == 0 ? U' ' : charBefore(i);
            const char32_t c = charAt(i);
            std::size_t next = i + width(i);
            if (isASCIIAlpha(c) && !isWordChar(before) && !isOneOf(before, u"+-.")) {
                const Attempt a = scheme(i);
                if (a.matched || a.resume > next) {
                    i = std::max(a.resume, next);
                    continue;
                }
            }
            if (isWordChar(c) && !gluesToNext(before))
                next = std::max(next, schemeless(i).resume);
            i = next;
        }
        return std::move(matches_);
    }

private:
    std::u16string_view s_;
    std::vector<Match> matches_;
    // The end of the last run of mailbox characters that reached no "@": starts inside it
    // would end at the same place, so they are not read again.
    std::size_t failedLocalEnd_ = 0;

    char32_t charAt(std::size_t i) const {
        const char16_t u = s_[i];
        if (U16_IS_LEAD(u) && i + 1 < s_.size() && U16_IS_TRAIL(s_[i + 1]))
            return static_cast<char32_t>(U16_GET_SUPPLEMENTARY(u, s_[i + 1]));
        return U16_IS_SURROGATE(u) ? U'\uFFFD' : u;
    }
    std::size_t width(std::size_t i) const {
        return U16_IS_LEAD(s_[i]) && i + 1 < s_.size() && U16_IS_TRAIL(s_[i + 1]) ? 2 : 1;
    }
    char32_t charBefore(std::size_t i) const {
        if (i >= 2 && U16_IS_TRAIL(s_[i - 1]) && U16_IS_LEAD(s_[i - 2]))
            return static_cast<char32_t>(U16_GET_SUPPLEMENTARY(s_[i - 2], s_[i - 1]));
        return U16_IS_SURROGATE(s_[i - 1]) ? U'\uFFFD' : s_[i - 1];
    }
    template <typename Predicate> std::size_t extend(std::size_t i, Predicate accepts) const {
        while (i < s_.size() && accepts(charAt(i)))
            i += width(i);
        return i;
    }
    // Whether every UTF-16 unit of [start, end) is a host character (surrogate pairs are letters
    // of other planes; the scan that found the range already let only real pairs through).
    bool allHostChars(std::size_t start, std::size_t end) const {
        for (std::size_t k = start; k < end; ++k)
            if (!isHostChar(s_[k]) && !U16_IS_SURROGATE(s_[k]))
                return false;
        return true;
    }

    bool add(std::size_t start, std::size_t end, std::u16string_view prefix) {
        icu::UnicodeString text(prefix.data(), static_cast<int32_t>(prefix.size()));
        text.append(s_.data() + start, static_cast<int32_t>(end - start));
        auto url = Url::parse(unicode::toUTF8(text));
        if (!url)
            return false;
        Match m;
        m.type = DataDetector::Type::link;
        m.range = TextRange{static_cast<int32_t>(start), static_cast<int32_t>(end - start)};
        m.url = std::move(url);
        matches_.push_back(std::move(m));
        return true;
    }

    // Drops trailing sentence punctuation and closing brackets that nothing in the link
    // opened, never cutting below `floor`.
    std::size_t trimTail(std::size_t start, std::size_t end, std::size_t floor) const {
        static constexpr std::u16string_view openers = u"([{";
        static constexpr std::u16string_view closers = u")]}";
        std::array<int, 3> balance{};
        for (std::size_t k = start; k < end; ++k) {
            if (const auto o = openers.find(s_[k]); o != openers.npos)
                ++balance[o];
            else if (const auto c = closers.find(s_[k]); c != closers.npos)
                --balance[c];
        }
        while (end > floor) {
            const char16_t last = s_[end - 1];
            if (isOneOf(last, u".,;:!?'*")) {
                --end;
            } else if (const auto c = closers.find(last); c != closers.npos && balance[c] < 0) {
                ++balance[c];
                --end;
            } else {
                break;
            }
        }
        return end;
    }

    // A dotted host name whose top-level domain is known, or (when `allowIP`) a dotted-quad
    // IPv4 address. `bare` means nothing but the name was written (no www., port or path).
    bool isValidHost(std::size_t start, std::size_t end, bool bare, bool allowIP,
                     bool mailDomain = false) const {
        if (end <= start || end - start > maximumHostLength)
            return false;
        std::vector<std::u16string_view> labels;
        std::size_t labelStart = start;
        for (std::size_t k = start; k <= end; ++k) {
            if (k == end || s_[k] == '.') {
                labels.push_back(s_.substr(labelStart, k - labelStart));
                labelStart = k + 1;
            }
        }
        if (labels.size() < 2)
            return false;
        for (const auto label : labels)
            if (label.empty() || label.size() > maximumLabelLength || label.front() == '-' ||
                label.back() == '-')
                return false;
        if (isIPv4(labels))
            return allowIP;
        return hasKnownTopLevelDomain(start, end, labels.back(), bare, mailDomain);
    }

    static bool isIPv4(const std::vector<std::u16string_view>& labels) {
        if (labels.size() != 4)
            return false;
        for (const auto label : labels) {
            if (label.size() > 3 || (label.size() > 1 && label.front() == '0'))
                return false;
            int value = 0;
            for (const char16_t d : label) {
                if (!isASCIIDigit(d))
                    return false;
                value = value * 10 + (d - '0');
            }
            if (value > 255)
                return false;
        }
        return true;
    }

    bool hasKnownTopLevelDomain(std::size_t start, std::size_t end, std::u16string_view tld, bool bare,
                                bool mailDomain) const {
        const bool punycode = tld.size() > 4 && (tld.substr(0, 4) == u"xn--" || tld.substr(0, 4) == u"XN--");
        bool lower = false;
        bool upper = false;
        icu::UnicodeString folded;
        for (int32_t k = 0; k < static_cast<int32_t>(tld.size());) {
            UChar32 c;
            U16_NEXT(tld.data(), k, static_cast<int32_t>(tld.size()), c);
            if (!u_isalpha(c) && !(punycode && (c == '-' || isASCIIDigit(static_cast<char32_t>(c)))))
                return false;
            lower = lower || u_islower(c);
            upper = upper || u_isupper(c);
            folded.append(u_tolower(c));
        }
        // A capitalised last word ("sentence.Next") is a missing space, not a domain; after an
        // "@" it is a domain written as people capitalise names ("Example.Org").
        if (lower && upper && !mailDomain)
            return false;
        const std::u16string_view lowerTLD(folded.getBuffer(), static_cast<std::size_t>(folded.length()));
        if (bare && s_.substr(start, 4) != u"www." && s_.substr(start, 4) != u"WWW.")
            for (const auto ext : fileExtensionDomains)
                if (lowerTLD == ext)
                    return false;
        if (!PublicSuffixList::isKnownTopLevelDomain(unicode::toUTF8(folded)))
            return false;
        icu::UnicodeString host(s_.data() + start, static_cast<int32_t>(end - start));
        return !PublicSuffixList::isPublicSuffix(unicode::toUTF8(host.toLower(icu::Locale::getRoot())));
    }

    // "local@host.tld" with the local part in [localStart, at). A written "mailto:" starting at
    // `schemeStart` belongs to the match; a bare address is reported with the scheme added.
    Attempt mailbox(std::size_t localStart, std::size_t at, std::optional<std::size_t> schemeStart) {
        const std::size_t domainStart = at + 1;
        const std::size_t domainRun = extend(domainStart, isHostChar);
        Attempt attempt{false, domainRun};
        std::size_t domainEnd = domainRun;
        while (domainEnd > domainStart && s_[domainEnd - 1] == '.')
            --domainEnd;
        if (!schemeStart)
            while (localStart < at && s_[localStart] == '.')
                ++localStart;
        const std::u16string_view local = s_.substr(localStart, at - localStart);
        if (local.empty() || local.front() == '.' || local.back() == '.' || local.find(u"..") != local.npos)
            return attempt;
        if (!isValidHost(domainStart, domainEnd, false, false, true))
            return attempt;
        std::size_t end = domainEnd;
        if (schemeStart && domainEnd == domainRun && end < s_.size() && s_[end] == '?') {
            const std::size_t tail = extend(end, isSchemeURLChar);
            end = trimTail(*schemeStart, tail, domainEnd);
            attempt.resume = tail;
        }
        attempt.matched = schemeStart ? add(*schemeStart, end, {}) : add(localStart, end, u"mailto:");
        attempt.resume = std::max(attempt.resume, end);
        return attempt;
    }

    // A known scheme written at `start`.
    Attempt scheme(std::size_t start) {
        std::size_t k = start;
        std::string name;
        while (k < s_.size() && name.size() <= LinkScheme::maximumNameLength &&
               (isASCIIAlpha(s_[k]) || isASCIIDigit(s_[k]) || isOneOf(s_[k], u"+-."))) {
            name.push_back(static_cast<char>(isASCIIAlpha(s_[k]) ? (s_[k] | 0x20) : s_[k]));
            ++k;
        }
        const Attempt none{false, start};
        if (k >= s_.size() || s_[k] != ':')
            return none;
        const auto known = LinkScheme::find(name);
        if (!known)
            return none;
        const std::size_t body = k + 1;
        switch (known->form) {
        case LinkScheme::Form::mail: {
            const std::size_t localEnd = extend(body, isLocalPartChar);
            if (localEnd >= s_.size() || s_[localEnd] != '@')
                return none;
            return mailbox(body, localEnd, start);
        }
        case LinkScheme::Form::opaque: {
            const std::size_t run = extend(body, isSchemeURLChar);
            const std::size_t end = trimTail(start, run, body);
            if (end == body)
                return none;
            return Attempt{add(start, end, {}), std::max(run, end)};
        }
        case LinkScheme::Form::hierarchical:
            break;
        }
        if (s_.substr(body, 2) != u"//")
            return none;
        const std::size_t authority = body + 2;
        const std::size_t run = extend(authority, isSchemeURLChar);
        const std::size_t end = trimTail(start, run, authority);
        if (!hasUsableAuthority(authority, end, known->name == "file"))
            return Attempt{false, run};
        return Attempt{add(start, end, {}), run};
    }

    bool hasUsableAuthority(std::size_t start, std::size_t end, bool isFile) const {
        std::size_t stop = start;
        while (stop < end && !isOneOf(s_[stop], u"/?#"))
            ++stop;
        std::u16string_view authority = s_.substr(start, stop - start);
        if (const auto at = authority.rfind('@'); at != authority.npos)
            authority.remove_prefix(at + 1);
        if (authority.empty())
            return isFile && stop < end && s_[stop] == '/';
        if (authority.front() == '[') {
            const auto close = authority.find(']');
            if (close == authority.npos || close == 1)
                return false;
            for (const char16_t c : authority.substr(1, close - 1))
                if (!(isASCIIDigit(c) || isOneOf(c, u"abcdefABCDEF:.")))
                    return false;
            authority.remove_prefix(close + 1);
            return authority.empty() || isPort(authority);
        }
        const auto colon = authority.find(':');
        const std::u16string_view host = authority.substr(0, colon);
        if (host.empty() || host.front() == '.' || host.front() == '-')
            return false;
        for (const char16_t c : host)
            if (!(isLetterOrDigit(c) || U16_IS_SURROGATE(c) || isOneOf(c, u".-_")))
                return false;
        return colon == authority.npos || isPort(authority.substr(colon));
    }

    // ":" followed by up to 5 digits, at most 65535 (a lone ":" is allowed, as in URLs).
    static bool isPort(std::u16string_view text) {
        if (text.empty() || text.front() != ':' || text.size() > 6)
            return false;
        long value = 0;
        for (const char16_t d : text.substr(1)) {
            if (!isASCIIDigit(d))
                return false;
            value = value * 10 + (d - '0');
        }
        return value <= 65535;
    }

    // A host or an e-mail address without a scheme, starting at a word start.
    Attempt schemeless(std::size_t start) {
        const std::size_t run = extend(start, isMailboxOrHostChar);
        if (run < s_.size() && s_[run] == '@')
            return mailbox(start, run, std::nullopt);
        if (run < s_.size() && s_[run] == '\'' && start >= failedLocalEnd_) {
            const std::size_t local = extend(start, isBareLocalPartChar);
            if (local < s_.size() && s_[local] == '@')
                return mailbox(start, local, std::nullopt);
            failedLocalEnd_ = local;
        }
        const Attempt none{false, run};
        std::size_t hostEnd = run;
        while (hostEnd > start && s_[hostEnd - 1] == '.')
            --hostEnd;
        if (!allHostChars(start, hostEnd))
            return none;
        // Port and path are read only right after the host, not after a sentence's full stop.
        std::size_t end = hostEnd;
        if (hostEnd == run && end + 1 < s_.size() && s_[end] == ':') {
            const std::size_t digits = extend(end + 1, isASCIIDigit);
            if (digits > end + 1 && isPort(s_.substr(end, digits - end)) &&
                (digits == s_.size() || !isWordChar(charAt(digits))))
                end = digits;
        }
        const bool hasPath = hostEnd == run && end < s_.size() && isOneOf(s_[end], u"/?#");
        if (!isValidHost(start, hostEnd, end == hostEnd && !hasPath, true))
            return none;
        std::size_t resume = end;
        if (hasPath) {
            resume = extend(end, isURLChar);
            end = trimTail(start, resume, end);
        }
        return Attempt{add(start, end, u"http://"), std::max(resume, end)};
    }
};

} // namespace

std::vector<DataDetector::Match> LinkScanner::scan(std::string_view text) {
    const icu::UnicodeString u = unicode::toICU(text);
    return Scanner(u).scan();
}

} // namespace tessellar
