// Placeholder until the window lands: shows the usage text.
#include "frame/window_mode.h"

#include <cstdio>

#include "app/batch.h"

namespace morvane {

int RunWindowMode(int, char**)
{
    std::fputs(UsageText().c_str(), stdout);
    return 0;
}

} // namespace morvane
