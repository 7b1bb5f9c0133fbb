// Any bytes as a model's reply: reading the chat envelope, finding the classification object,
// decoding it and validating it either succeed or fail with a TessellarError, never otherwise,
// and a validated result keeps every bound.
#include "FuzzInput.h"
#include "kit/intelligence/AIClassification.h"
#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "kit/model/TessellarError.h"
#include "kit/text/Unicode.h"

using namespace tessellar;

namespace {

void checkBounds(const Classification& classification) {
    fuzz::require(classification.confidence >= 0 && classification.confidence <= 0.99);
    fuzz::require(unicode::characterCount(classification.title) <= 121);
    fuzz::require(!classification.title.empty());
    if (classification.headline)
        fuzz::require(unicode::characterCount(*classification.headline) <= 41);
    for (const auto& fact : classification.metadata.facts)
        fuzz::require(unicode::characterCount(fact.value) <= 161 && !fact.value.empty());
    fuzz::require(classification.metadata.hidden.empty());
    for (const auto& id : classification.recommendedActionIDs)
        fuzz::require(id == ActionID::copy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const std::set<ActionID> known{ActionID::copy};

    if (const auto object = firstJSONObject(text)) {
        fuzz::require(object->front() == '{' && object->back() == '}');
        fuzz::require(object->data() >= text.data() &&
                      object->data() + object->size() <= text.data() + text.size());
    }
    try {
        const AIClassification reply = readClassificationReply(text);
        if (const auto classification = reply.validated(known))
            checkBounds(*classification);
        fuzz::require(AIClassification::decode(reply.encode()).contentType == reply.contentType);
    } catch (const TessellarError&) {
    }
    try {
        const std::string content = OpenAICompatibleProvider::replyContent(text);
        fuzz::require(!content.empty());
    } catch (const TessellarError&) {
    }
    (void)humanizedKey(text.substr(0, 256));
    return 0;
}
