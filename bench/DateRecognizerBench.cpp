#include "kit/scan/dates/DateRecognizer.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using tessellar::DateRecognizer;
using tessellar::Timestamp;

// About 100 KB of ordinary prose: mostly words and numbers that are not dates (versions, money,
// phone numbers, quantities), with a date phrase every few sentences.
std::string prose() {
    const char* sentences[] = {
        "The quarterly review covered 14 projects across 3 regions and found most of them on track. ",
        "Please send the signed copy back by Friday so legal can file it. ",
        "Version 3.12.1 fixed the crash that 2,400 users reported last spring. ",
        "Our flight departs 10:40 on 12 Mar from gate 22 and lands around 3pm local time. ",
        "Invoice 2026-0042 totals $1,250.00 and is due 03/15/2026; call 555-123-4567 with questions. ",
        "She walked for 3 days through the hills, stopping at every village along the way. ",
        "The server at 192.168.1.10 restarted twice before the patch went in. ",
        "Let's meet tomorrow at 9:30 AM in the small conference room on the fourth floor. ",
        "Temperatures reached 31 degrees, and the forecast promised little relief before the weekend. ",
        "Reminder: dentist appointment next Tuesday at 2:15 p.m., bring the insurance card. ",
        "He read chapter 12 of the book twice, then wrote a long letter to his sister in Lyon. ",
        "The contract renews on 1 January 2027 unless either party gives notice in two weeks. ",
    };
    std::string text;
    while (text.size() < 100 * 1024)
        for (const char* sentence : sentences)
            text += sentence;
    return text;
}

void BM_ScanProse(benchmark::State& state) {
    const std::string text = prose();
    const Timestamp now = Timestamp::fromUnix(1773239400); // 2026-03-11 10:30 in New York
    const auto options = DateRecognizer::Options::forLocale(
        icu::Locale("en_US"),
        std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createTimeZone("America/New_York")));
    std::size_t found = 0;
    for (auto _ : state) {
        const auto matches = DateRecognizer::scan(text, now, options);
        found = matches.size();
        benchmark::DoNotOptimize(matches.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanProse)->Unit(benchmark::kMillisecond);

// Hostile shapes, at 1 MB and 2 MB: the time per byte must stay flat as the input doubles, and
// memory stays bounded by the chunked scan and the match cap.
std::string hostile(int shape, std::size_t size) {
    const char* units[] = {"3pm ", "1-2-", "12/03/2026x3pm;", "7"};
    std::string text = shape == 0 ? "RECEIPT\nTotal $4.50\n" : "";
    while (text.size() < size)
        text += units[shape];
    return text;
}

void BM_ScanHostile(benchmark::State& state) {
    const std::string text =
        hostile(static_cast<int>(state.range(0)), static_cast<std::size_t>(state.range(1)) << 20);
    const Timestamp now = Timestamp::fromUnix(1773239400);
    const auto options = DateRecognizer::Options::forLocale(
        icu::Locale("en_US"),
        std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createTimeZone("America/New_York")));
    for (auto _ : state)
        benchmark::DoNotOptimize(DateRecognizer::scan(text, now, options).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
// Shapes: repeated times, a run of "1-2-", a line without blanks, one endless number.
BENCHMARK(BM_ScanHostile)->ArgsProduct({{0, 1, 2, 3}, {1, 2}})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
