// Recognising and re-writing a large JSON paste. Without TESSELLAR_JSON_SAMPLE the document is
// a synthetic ~5 MB API page built here; with it, the named file (bench/json-vs-peers sets it
// so the peers and we time the same bytes).
#include "kit/detect/JSONDetector.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

using tessellar::JSONDetector;

std::string syntheticPage(std::size_t targetBytes) {
    const char* statuses[] = {"pending", "paid", "shipped", "delivered"};
    const char* notes[] = {"leave at the door", "gift wrap, please \u2014 merci", "fragile \u26A0", "",
                           "\u8FC5\u901F\u306A\u914D\u9001"};
    std::string json = "{\"page\":1,\"next\":\"https://api.example.com/v2/orders?page=2\",\"orders\":[\n";
    for (std::size_t i = 0; json.size() < targetBytes; ++i) {
        if (i > 0)
            json += ",\n";
        const std::string n = std::to_string(i);
        json += "  {\"id\": " + std::to_string(9'000'000'000'000'000'000ULL + i) + ", \"number\": \"ORD-" +
                n + "\", \"status\": \"" + statuses[i % 4] + "\", \"customer\": {\"name\": \"Customer " + n +
                "\", \"vip\": " + (i % 7 == 0 ? "true" : "false") +
                ", \"geo\": {\"lat\": " + std::to_string(48.0 + static_cast<double>(i % 1000) / 1000.0) +
                ", \"lon\": -2.25e-1}}, \"items\": [";
        for (std::size_t k = 0; k < 1 + i % 4; ++k)
            json += std::string(k ? "," : "") + "{\"sku\":\"SKU-" +
                    std::to_string(10000 + (i * 7 + k) % 90000) + "\",\"quantity\":" + std::to_string(1 + k) +
                    ",\"unitPrice\":19.90,\"discount\":null}";
        json += "], \"links\": {\"self\": \"https://api.example.com/v2/orders/" + n + "\"}, \"note\": \"" +
                notes[i % 5] + "\"}";
    }
    json += "\n]}";
    return json;
}

void document(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        auto result = JSONDetector::document(text);
        if (!result) {
            state.SkipWithError("the sample was not recognised as JSON");
            return;
        }
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void swiftModel(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        auto result = JSONDetector::swiftModel(text, "Page");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

} // namespace

int main(int argc, char** argv) {
    static const std::string synthetic = syntheticPage(5'000'000 - 100'000);
    benchmark::RegisterBenchmark("JSONDetector/document/synthetic5MB", document, synthetic)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("JSONDetector/swiftModel/synthetic5MB", swiftModel, synthetic)
        ->Unit(benchmark::kMillisecond);

    static std::string sample;
    if (const char* path = std::getenv("TESSELLAR_JSON_SAMPLE")) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cerr << "cannot read " << path << "\n";
            return 1;
        }
        sample.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        benchmark::RegisterBenchmark("JSONDetector/document/sample", document, sample)
            ->Unit(benchmark::kMillisecond);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
