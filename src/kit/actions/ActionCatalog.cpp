#include "kit/actions/ActionCatalog.h"

#include "kit/actions/ai/AskAIAction.h"
#include "kit/actions/ai/DescribeImageAction.h"
#include "kit/actions/ai/ExplainErrorAction.h"
#include "kit/actions/ai/ExtractTextAction.h"
#include "kit/actions/ai/OpenInAgentAction.h"
#include "kit/actions/ai/SummarizeAction.h"
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
    // Each group of actions takes its place in this order as it is built:
    // openURL, openInMaps, createReminder, createCalendarEvent, copyExtractedText, decodeJWT,
    // formatJSON, generateSwiftModel, convertTimestamp, cleanStackTrace, openInAgent,
    // explainError, smartRename, moveToFolder, summarize, extractText, copy, copyURL,
    // copyAddress, askAI, describeImage, searchWeb, quickLook, revealInFinder, openFile,
    // saveForLater.
    return {
        std::make_shared<OpenURLAction>(),
        std::make_shared<OpenInMapsAction>(),
        std::make_shared<CopyExtractedTextAction>(),
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
