// From captured text to the panel's ranked buttons, in process: rule-based classification of a
// 2 KB capture, the item built from it, and the action engine resolving the catalog for it.
// Four shapes of capture: an invoice mail, a stack trace, prose with an address, and JSON.
#include "kit/actions/ActionCatalog.h"
#include "kit/actions/ActionEngine.h"
#include "kit/base/Clock.h"
#include "kit/classify/RuleBasedClassifier.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace tessellar;

// The actions here never touch the pasteboard during resolve; it only has to exist.
class IdlePasteboard final : public Pasteboard {
public:
    std::vector<Url> fileURLs() const override { return {}; }
    std::vector<Url> urls() const override { return {}; }
    bool hasImage() const override { return false; }
    std::optional<std::string> plainText() const override { return std::nullopt; }
    std::optional<std::vector<std::uint8_t>> data(std::string_view) const override { return std::nullopt; }
    void clear() override {}
    void writeText(std::string_view) override {}
    void writeFileURL(const Url&) override {}
};

std::string grow(const std::string& head, const std::string& filler, std::size_t size = 2048) {
    std::string text = head;
    while (text.size() < size)
        text += filler;
    return text.substr(0, size);
}

std::vector<std::string> captures() {
    return {
        grow("Invoice INV-2026-0042\nFrom: Northwind Traders Ltd\nAmount due: $1,249.00\nDue date: March 15, "
             "2026\n"
             "Please pay by bank transfer.\n",
             "Line item: consulting services, 4 hours at $120.00 per hour, total $480.00.\n"),
        grow("Traceback (most recent call last):\n  File \"/srv/app/main.py\", line 42, in <module>\n    "
             "main()\n",
             "  File \"/srv/app/handlers.py\", line 17, in handle\n    return compute(request.payload)\n") +
            "\nZeroDivisionError: division by zero",
        grow("Hi Ana, the workshop moved. We now meet at 500 Main Street, Boston, MA 02110 next Tuesday at "
             "3pm.\n",
             "Bring the printed agenda and the notes from last week; the room is on the second floor. "),
        grow("{\"orders\": [",
             "{\"id\": 1042, \"customer\": \"Northwind\", \"total\": 129.5, \"paid\": true}, ", 2000) +
            "{\"id\": 1}]}",
    };
}

InboxItem itemFor(const std::string& text) {
    ClassificationInput input;
    input.text = text;
    Classification classification = RuleBasedClassifier().classify(input).value_or(
        Classification(ContentType::unknown, "Content", {}, 0.2));
    InboxItem item;
    item.createdAt = Clock::now();
    item.contentType = classification.contentType;
    item.title = classification.title;
    item.headline = classification.headline;
    item.confidence = classification.confidence;
    item.originalText = text;
    item.metadata = std::move(classification.metadata);
    item.suggestedActionIDs = std::move(classification.recommendedActionIDs);
    return item;
}

void CaptureToRankedActions(benchmark::State& state) {
    const std::string text = captures()[static_cast<std::size_t>(state.range(0))];
    IdlePasteboard pasteboard;
    const ActionEngine engine(ActionCatalog::standard());
    const ActionContext context{nullptr, nullptr, ClipboardService(pasteboard), nullptr, nullptr, {}, nullptr,
                                nullptr, {}};
    std::size_t offered = 0;
    for (auto _ : state) {
        const auto resolved = engine.resolve(itemFor(text), context);
        offered = resolved.primary.size() + resolved.secondary.size();
        benchmark::DoNotOptimize(offered);
    }
    state.counters["actions"] = static_cast<double>(offered);
}

BENCHMARK(CaptureToRankedActions)
    ->ArgName("shape") // 0 invoice, 1 stack trace, 2 address prose, 3 JSON
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });

} // namespace

BENCHMARK_MAIN();
