// Morvane's entry: any argument means batch mode (no display needed), none the window.
#include <cstdio>
#include <string>
#include <vector>

#include "app/batch.h"
#include "app/batch_progress.h"
#include "engine/glossary.h"
#include "frame/window_mode.h"
#include "lang/lang.h"

namespace {

bool IsVersionRequest(const std::vector<std::string>& words)
{
    return words.size() == 1 && words[0] == "--version";
}

bool IsHelpRequest(const std::vector<std::string>& words)
{
    return words.size() == 1 && (words[0] == "-h" || words[0] == "--help" || words[0] == "/?");
}

int RunBatchMode(const std::vector<std::string>& words)
{
    if (IsVersionRequest(words)) {
        std::puts("morvane " MORVANE_VERSION);
        return morvane::kExitOk;
    }
    if (IsHelpRequest(words)) {
        std::fputs(morvane::UsageText().c_str(), stdout);
        return morvane::kExitOk;
    }
    const std::string arguments = morvane::JoinArguments(words);
    if (morvane::UsesGlossary(arguments)) // reading it costs time a code page step does not need
        morvane::g_glossary.Load();
    // A progress line on a terminal only; never in pipes or logs.
    morvane::BatchProgress progress = morvane::BatchProgress::ForStandardError();
    const morvane::BatchResult result =
        morvane::RunCommandLine(arguments, morvane::g_glossary, &progress);
    if (result.exitCode != morvane::kExitOk) {
        std::fprintf(stderr, "morvane: %s\n\n%s", result.message.c_str(),
                     morvane::UsageText().c_str());
    }
    return result.exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    morvane::g_nLanguage = morvane::GetDefaultLanguage();
    std::vector<std::string> words(argv + 1, argv + argc);
    if (!words.empty())
        return RunBatchMode(words);
    return morvane::RunWindowMode(argc, argv);
}
