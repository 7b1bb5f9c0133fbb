// History store over 50,000 stored items: saving one more, listing the newest, searching.
#include "kit/storage/SQLiteHistoryStore.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>
#include <random>
#include <stdlib.h>

namespace {

using namespace tessellar;

constexpr int storedItems = 50'000;

const char* words[] = {"invoice", "receipt", "meeting", "flight",   "deadline", "report",
                       "acme",    "widget",  "payment", "order",    "travel",   "schedule",
                       "error",   "stack",   "server",  "customer", "account",  "project",
                       "summary", "review",  "draft",   "budget",   "quarter",  "contract"};

InboxItem makeItem(std::mt19937& rng, int index) {
    std::uniform_int_distribution<std::size_t> pick(0, std::size(words) - 1);
    InboxItem item;
    item.id = Uuid::random();
    item.createdAt = Timestamp::fromUnix(1.7e9 + index * 60.0);
    item.contentType = static_cast<ContentType>(index % 20);
    item.title = std::string(words[pick(rng)]) + " " + words[pick(rng)] + " #" + std::to_string(index);
    item.headline = std::string("About ") + words[pick(rng)];
    std::string text;
    while (text.size() < 600)
        text += std::string(words[pick(rng)]) + ' ';
    item.originalText = text;
    item.metadata.set("amount", "$" + std::to_string(index % 997) + ".00", std::nullopt, true);
    item.metadata.set("company", std::string(words[pick(rng)]) + " Ltd");
    item.suggestedActionIDs = {ActionID("copyText"), ActionID("summarize")};
    return item;
}

struct Fixture {
    std::filesystem::path folder;
    std::unique_ptr<SQLiteHistoryStore> store;
    std::mt19937 rng{42};

    Fixture() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessellar-bench-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        store = std::make_unique<SQLiteHistoryStore>((folder / "history.sqlite").string());
        for (int i = 0; i < storedItems; ++i)
            store->save(makeItem(rng, i));
    }
    ~Fixture() {
        store.reset();
        std::filesystem::remove_all(folder);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_Save(benchmark::State& state) {
    auto& f = fixture();
    int index = storedItems;
    for (auto _ : state)
        f.store->save(makeItem(f.rng, index++));
    state.SetItemsProcessed(state.iterations());
}

void BM_Recent50(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->recent(50));
}

void BM_SearchCommonWord50(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->search("invoice", 50));
}

void BM_SearchRareTitle(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->search("#12345", 50));
}

void BM_SearchNoMatchFullScan(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.store->search("zzz-not-there", 50));
}

BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Recent50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchCommonWord50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchRareTitle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchNoMatchFullScan)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
