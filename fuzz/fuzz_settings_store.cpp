// The settings store reading a settings file of any bytes: values are read whole at their
// exact size or not at all, and a write over any file keeps every value it could read.
#include <QCoreApplication>
#include <QDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "settings/settings_store.h"
#include "fuzz_support.h"

using namespace morvane;

namespace {

// The names the program stores, a name the file may hold in another case, and one of ours.
const char* const kNames[] = {"mode", "GBTAB", "Language", "WindowPlacement", "left", "Mode",
                              "fuzz"};

std::string g_file;

void WriteSettingsFile(const std::uint8_t* bytes, std::size_t size)
{
    const int fd = ::open(g_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, bytes, size) != static_cast<ssize_t>(size) || ::close(fd) != 0)
        fuzz::Violated("cannot write the settings file");
    // A fresh time stamp for every input, so no cached parse of the last input is reused.
    static long stamp = 1000000000;
    const timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    ::utimensat(AT_FDCWD, g_file.c_str(), times, 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static char base[] = "/dev/shm/morvane-fuzz-settings-XXXXXX";
    if (::mkdtemp(base) == nullptr) {
        std::strcpy(base, "/tmp/morvane-fuzz-settings-XXXXXX");
        if (::mkdtemp(base) == nullptr)
            fuzz::Violated("no scratch folder");
    }
    ::setenv("XDG_CONFIG_HOME", base, 1);
    std::atexit([] { QDir(QString::fromLocal8Bit(base)).removeRecursively(); });
    QDir().mkpath(QString::fromLocal8Bit(base) + QStringLiteral("/Morvane"));
    g_file = SettingsFilePath();
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    WriteSettingsFile(bytes, size);

    // Each name at two sizes; a read that fails leaves the buffer alone.
    struct Read {
        bool ok = false;
        unsigned char value[44];
    } before[std::size(kNames)][2];
    // A 4-byte value as most settings are, and a size the input picks.
    const std::size_t sizes[2] = {4, size == 0 ? 0 : (bytes[0] >> 1) % 45u};
    for (std::size_t n = 0; n < std::size(kNames); ++n) {
        for (std::size_t s = 0; s < 2; ++s) {
            Read& read = before[n][s];
            std::memset(read.value, 0xA5, sizeof read.value);
            read.ok = ReadSetting(kNames[n], read.value, sizes[s]);
            if (!read.ok) {
                for (unsigned char c : read.value)
                    if (c != 0xA5)
                        fuzz::Violated("a failed read wrote into the buffer");
            }
        }
    }
    std::int32_t number = 0;
    ReadSettingInt32("GBTAB", number);
    ReadGlossarySwitch();

    // Only the flag byte's low bit writes: writing is slow (a whole-file replace with fsync).
    if (size == 0 || (bytes[0] & 1) == 0)
        return 0;
    const std::uint32_t stored = size;
    if (!WriteSetting("fuzz", &stored, sizeof stored))
        fuzz::Violated("a write over the file failed");
    std::uint32_t back = 0;
    if (!ReadSetting("fuzz", &back, sizeof back) || back != stored)
        fuzz::Violated("the written value does not read back");
    for (std::size_t n = 0; n + 1 < std::size(kNames); ++n) {
        for (std::size_t s = 0; s < 2; ++s) {
            if (!before[n][s].ok)
                continue;
            unsigned char after[44];
            if (!ReadSetting(kNames[n], after, sizes[s]) ||
                std::memcmp(after, before[n][s].value, sizes[s]) != 0)
                fuzz::Violated("a write lost or changed another value");
        }
    }
    return 0;
}
