// Where Morvane keeps the user's files, following the XDG base directory rules.
#include "engine/config_dir.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace morvane {

std::string ConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg != '\0')
        return std::string(xdg) + "/Morvane";
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        // No HOME in the environment (a service, say): ask the password database.
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config/Morvane";
}

} // namespace morvane
