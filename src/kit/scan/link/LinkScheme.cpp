#include "kit/scan/link/LinkScheme.h"

#include <array>

namespace tessellar {
namespace {

using Form = LinkScheme::Form;

// Schemes that people write in prose and mean as links. Unknown schemes are left alone
// so that "Note:" or "re:" never turn into links.
constexpr std::array schemes{
    LinkScheme{"http", Form::hierarchical},   LinkScheme{"https", Form::hierarchical},
    LinkScheme{"ftp", Form::hierarchical},    LinkScheme{"ftps", Form::hierarchical},
    LinkScheme{"sftp", Form::hierarchical},   LinkScheme{"ssh", Form::hierarchical},
    LinkScheme{"git", Form::hierarchical},    LinkScheme{"svn", Form::hierarchical},
    LinkScheme{"file", Form::hierarchical},   LinkScheme{"ws", Form::hierarchical},
    LinkScheme{"wss", Form::hierarchical},    LinkScheme{"webcal", Form::hierarchical},
    LinkScheme{"feed", Form::hierarchical},   LinkScheme{"rtsp", Form::hierarchical},
    LinkScheme{"irc", Form::hierarchical},    LinkScheme{"ircs", Form::hierarchical},
    LinkScheme{"telnet", Form::hierarchical}, LinkScheme{"smb", Form::hierarchical},
    LinkScheme{"afp", Form::hierarchical},    LinkScheme{"nfs", Form::hierarchical},
    LinkScheme{"vnc", Form::hierarchical},    LinkScheme{"rdp", Form::hierarchical},
    LinkScheme{"ldap", Form::hierarchical},   LinkScheme{"ldaps", Form::hierarchical},
    LinkScheme{"mailto", Form::mail},         LinkScheme{"tel", Form::opaque},
    LinkScheme{"sms", Form::opaque},          LinkScheme{"sip", Form::opaque},
    LinkScheme{"xmpp", Form::opaque},         LinkScheme{"magnet", Form::opaque},
    LinkScheme{"geo", Form::opaque},          LinkScheme{"facetime", Form::opaque},
};

constexpr bool namesFit() {
    for (const auto& s : schemes)
        if (s.name.size() > LinkScheme::maximumNameLength)
            return false;
    return true;
}
static_assert(namesFit());

} // namespace

std::optional<LinkScheme> LinkScheme::find(std::string_view lowerName) {
    for (const auto& s : schemes)
        if (s.name == lowerName)
            return s;
    return std::nullopt;
}

} // namespace tessellar
