#include "kit/detect/AddressDetector.h"
#include "kit/scan/address/AddressScanner.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

// About `bytes` of prose of the kind people paste: sentences, numbers, dates, prices, links
// and now and then an address.
std::string mixedProse(std::size_t bytes) {
    static constexpr std::array<const char*, 10> pieces = {
        "The quarterly report for Q3 2024 shows revenue of $1,234,567.89, up 12.5% on last year. ",
        "Please ship the order to 1500 Market Street, Suite 3400, Philadelphia, PA 19102 by Friday. ",
        "Meeting moved to March 14 at 10:30 in Room 4; bring Version 2.3.4 of the Slides.\n",
        "See https://example.com/docs?id=42 or write to support@example.com for Help. ",
        "Our New York Office, at 350 Fifth Avenue, New York, NY 10118, Opens at 9.\n",
        "Top 10 Park Avenue Restaurants And 3 Main Points From The Review Of Salt Lake City. ",
        "John Smith\n123 Main St\nApt 4\nAnytown, CA 90210\nUSA\n\n",
        "Call 555-1234 or +1 (217) 555-0100, ext. 12, between 9 and 5 Monday to Friday. ",
        "Error E1234 at line 56 of Main.cpp: expected 3 arguments, got 2 (see Build 7781).\n",
        "Dear Sam, thanks for visiting Austin, TX last week; the 5 Star Court venue was great. ",
    };
    std::string text;
    text.reserve(bytes + 256);
    for (std::size_t i = 0; text.size() < bytes; ++i)
        text += pieces[(i * 7) % pieces.size()];
    return text;
}

void BM_ScanMixedProse100KB(benchmark::State& state) {
    const std::string text = mixedProse(100 * 1024);
    for (auto _ : state)
        benchmark::DoNotOptimize(tessellar::AddressScanner::scan(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanMixedProse100KB)->Unit(benchmark::kMillisecond);

// One 1 MB line of capitalised words and numbers: the worst case for the look-ahead.
void BM_ScanOneMegabyteLine(benchmark::State& state) {
    std::string text;
    while (text.size() < (1u << 20))
        text += "12 Oak Park Ridge Lake Shore New York ";
    for (auto _ : state)
        benchmark::DoNotOptimize(tessellar::AddressScanner::scan(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanOneMegabyteLine)->Unit(benchmark::kMillisecond);

// Hostile lines at 1 and 2 MB (comma-separated numbers, a lower-case line whose every word
// reads as capitalised, "a@" repeated): the time per byte must not grow with the size.
void BM_ScanHostileLine(benchmark::State& state) {
    static constexpr std::array<const char*, 3> pieces = {"1,234,", "12 oak park ridge lake shore new york ",
                                                          "a@"};
    const std::string piece = pieces[static_cast<std::size_t>(state.range(0))];
    const auto bytes = static_cast<std::size_t>(state.range(1)) << 20;
    std::string text;
    while (text.size() < bytes)
        text += piece;
    for (auto _ : state)
        benchmark::DoNotOptimize(tessellar::AddressScanner::scan(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanHostileLine)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_StandaloneAddress(benchmark::State& state) {
    const std::string text = "Ship to:\nJane Doe\n123 Main St\nApt 4\nAnytown, CA 90210";
    for (auto _ : state)
        benchmark::DoNotOptimize(tessellar::AddressDetector::standaloneAddress(text));
}
BENCHMARK(BM_StandaloneAddress);

} // namespace

BENCHMARK_MAIN();
