#include "kit/model/AnalysisStage.h"

namespace tessellar {

std::string AnalysisStage::message() const {
    switch (kind) {
    case Kind::receiving:
        return "Receiving\u2026";
    case Kind::readingDocument:
        return "Reading document\u2026";
    case Kind::extractingText:
        return "Extracting text\u2026";
    case Kind::recognizing:
        return "Recognizing content\u2026";
    case Kind::findingActions:
        return "Finding useful actions\u2026";
    case Kind::askingAI:
        return "Asking " + providerName + "\u2026";
    }
    return {};
}

} // namespace tessellar
