// Any bytes: every amount is a piece of the text, in text order, with a sign or code, and the
// primary amount is one of them or absent only when there are none.
#include "FuzzInput.h"
#include "kit/detect/TextSignals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const auto amounts = tessellar::TextSignals::moneyAmounts(text);
    std::size_t from = 0;
    for (const auto& amount : amounts) {
        const std::size_t at = text.find(amount.raw, from);
        fuzz::require(at != std::string_view::npos && !amount.currencySymbol.empty() &&
                      amount.raw.find(amount.currencySymbol) != std::string::npos);
        from = at + amount.raw.size();
    }
    const auto primary = tessellar::TextSignals::primaryAmount(text);
    fuzz::require(!primary || text.find(primary->raw) != std::string_view::npos);
    fuzz::require(amounts.empty() || primary);
    return 0;
}
