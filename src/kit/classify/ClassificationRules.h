#pragma once

#include "kit/base/Timestamp.h"
#include "kit/base/Url.h"
#include "kit/detect/AddressDetector.h"
#include "kit/detect/CodeDetector.h"
#include "kit/detect/DocumentDetector.h"
#include "kit/detect/JSONDetector.h"
#include "kit/detect/JWTDetector.h"
#include "kit/detect/ScheduleDetector.h"
#include "kit/detect/TimestampDetector.h"
#include "kit/detect/TravelDetector.h"
#include "kit/model/Classification.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Turns one detector's result into a classification: content type, title, headline,
// confidence, the facts in display order and the recommended actions. `now` decides
// "Expired"/"Expires" and whether a short date shows its year.
class ClassificationRules {
public:
    static Classification jwt(const JWTDetector::Token& token, Timestamp now);
    static Classification json(const JSONDetector::Outline& document);
    static Classification timestamp(const TimestampDetector::Stamp& stamp, Timestamp now);
    static Classification link(const Url& url);
    static Classification email(const std::string& address);
    static Classification phone(const std::string& number);
    static Classification postalAddress(const AddressDetector::Address& address);
    static Classification code(const CodeDetector::Result& result, std::string_view text,
                               const std::optional<std::string>& title, bool fromScreenshot);
    static Classification flight(const TravelDetector::Flight& flight,
                                 const std::optional<std::string>& title);
    static Classification invoice(const DocumentDetector::Invoice& invoice, const std::string& title,
                                  Timestamp now);
    static Classification receipt(const DocumentDetector::Receipt& receipt, const std::string& title,
                                  Timestamp now);
    static Classification schedule(const ScheduleDetector::Occasion& occasion, Timestamp now);
    static Classification image(const std::string& name, std::string_view text, bool isScreenshot);
    static Classification document(ContentType type, const std::string& name, std::string_view text);
    static Classification plainText(std::string_view text);
};

} // namespace tessellar
