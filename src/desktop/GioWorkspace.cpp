#include "desktop/GioWorkspace.h"

#include "desktop/WorkspaceBackend.h"
#include "kit/base/LazyModule.h"
#include "kit/base/Log.h"

#include <string>

namespace tessellar {
namespace {

constexpr auto category = Log::Category::actions;

// Logs a problem the backend reports; true when there was none.
bool worked(const WorkspaceBackend::Problem& problem) {
    if (problem)
        Log::notice(category, *problem);
    return !problem;
}

} // namespace

const WorkspaceBackend* WorkspaceBackend::get() {
    static LazyModule module(moduleFile, entryPoint, category);
    return module.get<const WorkspaceBackend>();
}

GioWorkspace::GioWorkspace(std::chrono::milliseconds busTimeout) : busTimeout_(busTimeout) {}

bool GioWorkspace::open(const Url& url) {
    const WorkspaceBackend* backend = WorkspaceBackend::get();
    return backend && worked(backend->openURI(url.absoluteString()));
}

bool GioWorkspace::activateFileViewerSelecting(const Url& fileURL) {
    if (showInFileManager(fileURL))
        return true;
    // Without a file manager that selects files, showing the folder is the next best thing.
    const auto folder = Url::fromFilePath(fileURL.filePath().parent_path());
    return open(folder);
}

bool GioWorkspace::showInFileManager(const Url& fileURL) const {
    const WorkspaceBackend* backend = WorkspaceBackend::get();
    return backend &&
           worked(backend->showItem(fileURL.absoluteString(), static_cast<int>(busTimeout_.count())));
}

std::optional<Url> GioWorkspace::urlForApplication(std::string_view identifier) {
    const WorkspaceBackend* backend = WorkspaceBackend::get();
    const auto file = backend ? backend->applicationFile(std::string(identifier) + ".desktop") : std::nullopt;
    if (!file)
        return std::nullopt;
    return Url::fromFilePath(*file);
}

bool GioWorkspace::open(const Url& fileURL, const Url& applicationURL) {
    const WorkspaceBackend* backend = WorkspaceBackend::get();
    return backend && worked(backend->openWith(fileURL.absoluteString(), applicationURL.filePath().string()));
}

} // namespace tessellar
