#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tessellar {

// Diagnostic logging by category. Lines go to stderr, where the journal keeps
// them for a user service. Messages are for diagnosis only, never shown in the UI.
class Log {
public:
    enum class Category { pipeline, actions, intelligence, storage, ui };
    enum class Level { debug, info, notice, error, fault };

    struct Record {
        Category category;
        Level level;
        std::string message;
        bool operator==(const Record&) const = default;
    };

    static constexpr std::string_view subsystem = "org.tessellar.Tessellar";

    static void debug(Category category, std::string_view message) { write(category, Level::debug, message); }
    static void info(Category category, std::string_view message) { write(category, Level::info, message); }
    static void notice(Category category, std::string_view message) {
        write(category, Level::notice, message);
    }
    static void error(Category category, std::string_view message) { write(category, Level::error, message); }
    static void fault(Category category, std::string_view message) { write(category, Level::fault, message); }

    static void write(Category category, Level level, std::string_view message);

    // Replaces where records go (tests capture them); an empty sink restores stderr.
    using Sink = std::function<void(const Record&)>;
    static void setSink(Sink sink);

    // Records below this level are dropped (default: info; TESSELLAR_LOG=debug lowers it).
    static void setMinimumLevel(Level level);

    static std::string_view name(Category category);
    static std::string_view name(Level level);
};

} // namespace tessellar
