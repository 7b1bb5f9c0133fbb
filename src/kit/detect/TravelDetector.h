#pragma once

#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessellar {

// Recognises a flight booking or boarding pass in text: travel phrases first, then a
// flight number, the route, the departure and the booking reference. Stateless.
class TravelDetector {
public:
    struct Flight {
        std::optional<std::string> airline;      // the table's name, or the bare code
        std::optional<std::string> flightNumber; // code and digits, no blank ("UA123")
        std::optional<std::string> origin;
        std::optional<std::string> destination;
        std::optional<Timestamp> departure;
        std::optional<std::string> confirmationCode;
        double confidence = 0; // 0.6, 0.7, 0.75 or 0.85

        bool operator==(const Flight&) const = default;
    };

    static std::optional<Flight> flight(std::string_view text);

    static const std::vector<std::string>& travelKeywords();
    // The display name of an IATA airline code, absent for codes outside the table.
    static std::optional<std::string> airlineName(std::string_view code);

private:
    struct FlightNumber {
        std::string code;
        std::string digits;
    };
    static std::optional<FlightNumber> flightNumber(std::string_view text);
    static std::optional<std::pair<std::string, std::string>> routeEndpoints(std::string_view text);
};

} // namespace tessellar
