#include "kit/actions/ActionCatalog.h"

#include "kit/actions/ai/AskAIAction.h"
#include "kit/actions/ai/DescribeImageAction.h"
#include "kit/actions/ai/ExplainErrorAction.h"
#include "kit/actions/ai/ExtractTextAction.h"
#include "kit/actions/ai/OpenInAgentAction.h"
#include "kit/actions/ai/SummarizeAction.h"
#include "kit/actions/dates/CreateCalendarEventAction.h"
#include "kit/actions/dates/CreateReminderAction.h"
#include "kit/actions/developer/CleanStackTraceAction.h"
#include "kit/actions/developer/ConvertTimestampAction.h"
#include "kit/actions/developer/DecodeJWTAction.h"
#include "kit/actions/developer/FormatJSONAction.h"
#include "kit/actions/developer/GenerateSwiftModelAction.h"
#include "kit/actions/files/MoveToFolderAction.h"
#include "kit/actions/files/SmartRenameAction.h"
#include "kit/actions/universal/CopyAction.h"
#include "kit/actions/universal/CopyAddressAction.h"
#include "kit/actions/universal/CopyExtractedTextAction.h"
#include "kit/actions/universal/CopyURLAction.h"
#include "kit/actions/universal/OpenFileAction.h"
#include "kit/actions/universal/OpenInMapsAction.h"
#include "kit/actions/universal/OpenURLAction.h"
#include "kit/actions/universal/QuickLookAction.h"
#include "kit/actions/universal/RevealInFinderAction.h"
#include "kit/actions/universal/SaveForLaterAction.h"
#include "kit/actions/universal/SearchWebAction.h"

namespace tessellar {

std::vector<std::shared_ptr<const DropAction>> ActionCatalog::standard() {
    // This order is the registration order, the ranking's last tie-break.
    return {
        std::make_shared<OpenURLAction>(),
        std::make_shared<OpenInMapsAction>(),
        std::make_shared<CreateReminderAction>(),
        std::make_shared<CreateCalendarEventAction>(),
        std::make_shared<CopyExtractedTextAction>(),
        std::make_shared<DecodeJWTAction>(),
        std::make_shared<FormatJSONAction>(),
        std::make_shared<GenerateSwiftModelAction>(),
        std::make_shared<ConvertTimestampAction>(),
        std::make_shared<CleanStackTraceAction>(),
        std::make_shared<OpenInAgentAction>(),
        std::make_shared<ExplainErrorAction>(),
        std::make_shared<SmartRenameAction>(),
        std::make_shared<MoveToFolderAction>(),
        std::make_shared<SummarizeAction>(),
        std::make_shared<ExtractTextAction>(),
        std::make_shared<CopyAction>(),
        std::make_shared<CopyURLAction>(),
        std::make_shared<CopyAddressAction>(),
        std::make_shared<AskAIAction>(),
        std::make_shared<DescribeImageAction>(),
        std::make_shared<SearchWebAction>(),
        std::make_shared<QuickLookAction>(),
        std::make_shared<RevealInFinderAction>(),
        std::make_shared<OpenFileAction>(),
        std::make_shared<SaveForLaterAction>(),
    };
}

} // namespace tessellar
