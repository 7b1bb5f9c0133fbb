#include "kit/scan/phone/PhoneMatcher.h"

#include <algorithm>
#include <limits>
#include <phonenumbers/phonenumbermatch.h>
#include <phonenumbers/phonenumbermatcher.h>
#include <phonenumbers/phonenumberutil.h>

namespace tessellar {
namespace {

using i18n::phonenumbers::PhoneNumberMatch;
using i18n::phonenumbers::PhoneNumberMatcher;
using i18n::phonenumbers::PhoneNumberUtil;

// Windows are short, so every candidate the matcher rejects costs bounded work.
constexpr int unlimitedTries = std::numeric_limits<int>::max();

class LibPhoneNumberMatcher final : public PhoneMatcher {
public:
    std::vector<Found> matches(const std::string& window, const std::string& region) const override {
        PhoneNumberMatcher matcher(*PhoneNumberUtil::GetInstance(), window, region, PhoneNumberMatcher::VALID,
                                   unlimitedTries);
        PhoneNumberMatch match;
        std::vector<Found> found;
        while (matcher.HasNext() && matcher.Next(&match))
            found.push_back({static_cast<std::size_t>(std::max(match.start(), 0)), match.raw_string()});
        return found;
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_phone_matcher() {
    static tessellar::LibPhoneNumberMatcher matcher;
    return static_cast<tessellar::PhoneMatcher*>(&matcher);
}
