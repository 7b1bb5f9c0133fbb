// Classifies a mixed corpus of 1,000 captures (bills, travel mail, tool output, snippets,
// reminders, links, prose and dropped files) with the rule-based classifier.
#include "kit/classify/RuleBasedClassifier.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace tessellar;

struct Sample {
    std::string label;
    ClassificationInput input;
};

std::string n(int i, int width = 4) {
    std::string s = std::to_string(i);
    return std::string(std::max(0, width - static_cast<int>(s.size())), '0') + s;
}

ClassificationInput text(std::string value) {
    ClassificationInput input;
    input.text = std::move(value);
    return input;
}

ClassificationInput file(const std::string& name, const std::string& mime, std::string value, bool image) {
    ClassificationInput input;
    input.fileURL = Url::fromFilePath("/home/ana/Downloads/" + name);
    input.filename = name;
    input.typeIdentifier = mime;
    input.text = std::move(value);
    input.hasImage = image;
    input.source = SourceType::drop;
    return input;
}

std::string prose(int sentences) {
    static const char* parts[] = {"The team reviewed the onboarding flow and agreed on three changes. ",
                                  "Customers asked for clearer pricing on the plans page. ",
                                  "We will revisit the search experience after the spring release. ",
                                  "Notes from the call are in the shared folder for anyone who missed it. "};
    std::string out;
    for (int i = 0; i < sentences; ++i)
        out += parts[i % 4];
    return out;
}

std::vector<Sample> corpus() {
    std::vector<Sample> out;
    for (int i = 0; out.size() < 1000; ++i) {
        const std::string k = n(i);
        switch (i % 20) {
        case 0:
            out.push_back(
                {"invoice", text("NORTHWIND SUPPLY CO.\nInvoice #: NW-2026-" + k +
                                 "\nInvoice date: March 2, 2026\nDue date: April 1, 2026\nBill to: Lima "
                                 "Studio\nSubtotal $2,196.00\nAmount due $2," +
                                 n(i % 1000, 3) + ".15\nRemit to: Northwind Supply Co.")});
            break;
        case 1:
            out.push_back(
                {"receipt", text("Blue Bottle Coffee\nOrder #" + k +
                                 "\nLatte $5.75\nSubtotal $10.25\nOrder total $11.20\nPayment method: Visa "
                                 "card ending 4242\nMar 3, 2026 8:42 AM\nThank you for your purchase!")});
            break;
        case 2:
            out.push_back(
                {"flight", text("Confirmation code: K7QX" + n(i % 100, 2) +
                                "\nPassenger: Ana Lima\nFlight UA " + n(i % 10000) +
                                " from San Francisco to Boston\nSFO \u2192 BOS\nDeparts: April 14, 2026 at "
                                "7:05 AM\nSeat 21C")});
            break;
        case 3:
            out.push_back({"python traceback",
                           text("Traceback (most recent call last):\n  File \"/srv/app/export.py\", line " +
                                k + ", in <module>\n    main()\nZeroDivisionError: division by zero")});
            break;
        case 4:
            out.push_back(
                {"json", text("{\"id\": " + k +
                              ", \"name\": \"tessellar\", \"topics\": [\"desktop\", \"linux\"], "
                              "\"owner\": {\"login\": \"ana\", \"type\": \"User\"}, \"stars\": 1284}")});
            break;
        case 5:
            out.push_back(
                {"jwt",
                 text("eyJhbGciOiJIUzI1NiIsInR5cCI6IkpXVCJ9.eyJzdWIiOiIxMjM0NTY3ODkwIiwibmFtZSI6Ikpva"
                      "G4gRG9lIiwiaWF0IjoxNTE2MjM5MDIyfQ.SflKxwRJSMeKKF2QT4fwpMeJf36POk6yJV_adQssw5c")});
            break;
        case 6:
            out.push_back({"timestamp", text("17" + n(i, 8))});
            break;
        case 7:
            out.push_back({"link", text("https://github.com/tessellar/tessellar/issues/" + k)});
            break;
        case 8:
            out.push_back({"email", text("ana.lima+" + k + "@example.com")});
            break;
        case 9:
            out.push_back({"phone", text("+1 (650) 253-" + n(i % 10000))});
            break;
        case 10:
            out.push_back(
                {"address", text(std::to_string(100 + i) + " Market Street\nSan Francisco, CA 94103")});
            break;
        case 11:
            out.push_back({"deadline", text("Submit expense report " + k + " by Friday at 5pm")});
            break;
        case 12:
            out.push_back({"reminder", text("Dentist appointment tomorrow at 3pm")});
            break;
        case 13:
            out.push_back({"short note", text(prose(3))});
            break;
        case 14:
            out.push_back({"long prose (20 KB)", text(prose(300))});
            break;
        case 15:
            out.push_back(
                {"swift code", text("struct ContentView: View {\n    var body: some View {\n        "
                                    "Text(\"Hello " +
                                    k + "\")\n    }\n}")});
            break;
        case 16:
            out.push_back({"screenshot of an error",
                           file("Screenshot 2026-03-01 at 09.30." + n(i % 60, 2) + ".png", "image/png",
                                "Fatal error: Unexpectedly found nil while unwrapping an Optional value\n0   "
                                "libswiftCore.dylib   0x1 _assertionFailure + 40",
                                true)});
            break;
        case 17:
            out.push_back(
                {"pdf document", file("Report-" + k + ".pdf", "application/pdf", prose(40), false)});
            break;
        case 18:
            out.push_back({"build log (200 KB)", text([] {
                               std::string log;
                               for (int line = 0; log.size() < 200'000; ++line)
                                   log += "[" + std::to_string(line) + "] Compiling module TessellarKit (" +
                                          std::to_string(line % 97) + " of 97)\n";
                               return log + "error: linker command failed with exit code 1\n";
                           }())});
            break;
        default:
            out.push_back({"csv export", text("date,description,amount\n2026-03-01,Coffee," + n(i % 100, 2) +
                                              ".50\n2026-03-02,Books,18.00\n")});
            break;
        }
    }
    return out;
}

const std::vector<Sample>& samples() {
    static const std::vector<Sample> all = corpus();
    return all;
}

struct Slowest {
    double seconds = 0;
    std::string label;
};
Slowest slowest;

void ClassifyCorpus(benchmark::State& state) {
    const RuleBasedClassifier classifier;
    std::size_t classified = 0;
    for (auto _ : state) {
        for (const auto& sample : samples()) {
            const auto start = std::chrono::steady_clock::now();
            auto result = classifier.classify(sample.input);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            benchmark::DoNotOptimize(result);
            if (seconds > slowest.seconds)
                slowest = {seconds, sample.label};
            ++classified;
        }
    }
    state.counters["captures/s"] =
        benchmark::Counter(static_cast<double>(classified), benchmark::Counter::kIsRate);
    state.counters["slowest_ms"] = slowest.seconds * 1000;
}
BENCHMARK(ClassifyCorpus)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("slowest capture: %s (%.2f ms)\n", slowest.label.c_str(), slowest.seconds * 1000);
    return 0;
}
