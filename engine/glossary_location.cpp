// Finds the glossary file to read: the user's copy first, then the shipped default.
#include "engine/glossary_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/glossary.h"

namespace morvane {

namespace {

namespace fs = std::filesystem;

constexpr const char* kGlossaryName = "GB-BIG5.txt";

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

} // namespace

std::string ShippedGlossaryPath()
{
    if (const char* dataDir = std::getenv("MORVANE_DATA_DIR"); dataDir != nullptr && *dataDir) {
        const fs::path path = fs::path(dataDir) / kGlossaryName;
        return IsFile(path) ? path.string() : std::string();
    }
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path installed =
            (executable.parent_path() / ".." / "share" / "morvane" / kGlossaryName)
                .lexically_normal();
        if (IsFile(installed))
            return installed.string();
    }
#ifdef MORVANE_SOURCE_DATA_DIR
    const fs::path source = fs::path(MORVANE_SOURCE_DATA_DIR) / kGlossaryName;
    if (IsFile(source))
        return source.string();
#endif
    return {};
}

std::string GlossaryReadPath()
{
    const std::string own = GlossaryPath();
    std::error_code error;
    // Any entry at the user's path counts: a file there that cannot be read should fail the
    // load, not quietly give the shipped pairs instead.
    if (fs::exists(own, error))
        return own;
    const std::string shipped = ShippedGlossaryPath();
    return shipped.empty() ? own : shipped;
}

} // namespace morvane
