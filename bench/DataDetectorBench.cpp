// Throughput of the data detector over about 100 KB of mixed prose: links, e-mail addresses,
// phone numbers, postal addresses, dates, figures and plain sentences, each type scanned on
// its own and all three in a row.
#include "kit/scan/DataDetector.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>
#include <string_view>

namespace {

using tessellar::DataDetector;

constexpr std::size_t targetBytes = 100 * 1024;

const std::string& prose() {
    static const std::string text = [] {
        constexpr std::array<std::string_view, 14> sentences{
            "The quarterly numbers came in on Tuesday and they look better than expected. ",
            "Read the write-up at https://blog.example.com/2024/q3-results?ref=mail#summary before the "
            "call. ",
            "Questions go to finance.team@example.co.uk or to Ann directly. ",
            "Her desk phone is (650) 253-0000 ext. 12, and the London office is on +44 20 7946 0958. ",
            "Please ship the samples to 1600 Amphitheatre Parkway, Suite 200, Mountain View, CA 94043. ",
            "The invoice total was $1,240.50, due 15 March 2025, reference INV-2041-77. ",
            "Version 2.3.1 fixed the crash in parser.cpp line 812; see docs.example.org/changelog. ",
            "We met at 9:30 in room 4.12 and talked for about 45 minutes about the roadmap. ",
            "Mr. Smith said the shipment left on 03/14/2025 from 350 Fifth Avenue, New York, NY 10118. ",
            "Café owners in München and São Paulo asked for the same feature (again). ",
            "Call 1-800-555-0199 only if www.example.com/status shows an outage. ",
            "Order numbers 88213945 and 88213946 were merged; the tracking id is 1Z999AA10123456784. ",
            "Nothing else to report this week, enjoy the weekend! ",
            "PO Box 742, Springfield, IL 62704 receives the paper copies.\n\n",
        };
        std::string out;
        for (std::size_t i = 0; out.size() < targetBytes; ++i)
            out += sentences[(i * 5) % sentences.size()];
        return out;
    }();
    return text;
}

void scan(benchmark::State& state, std::initializer_list<DataDetector::Type> types) {
    const std::string& text = prose();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const auto type : types) {
            const auto matches = DataDetector::matches(type, text);
            found += matches.size();
            benchmark::DoNotOptimize(matches.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["matches"] = static_cast<double>(found);
}

void Links(benchmark::State& state) {
    scan(state, {DataDetector::Type::link});
}
void PhoneNumbers(benchmark::State& state) {
    scan(state, {DataDetector::Type::phoneNumber});
}
void Addresses(benchmark::State& state) {
    scan(state, {DataDetector::Type::address});
}
void AllThree(benchmark::State& state) {
    scan(state, {DataDetector::Type::link, DataDetector::Type::phoneNumber, DataDetector::Type::address});
}

BENCHMARK(Links)->Unit(benchmark::kMillisecond);
BENCHMARK(PhoneNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(Addresses)->Unit(benchmark::kMillisecond);
BENCHMARK(AllThree)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
