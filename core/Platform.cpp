#include "Platform.h"

namespace qv {

HelpChoice ChooseHelpFile(const PlatformInfo& p)
{
    bool html = true;
    if (p.platformId == kPlatformWindows)
        html = p.major >= 5 || p.minor >= 10;
    else if (p.platformId == kPlatformNt)
        html = p.major >= 5;
    return html ? HelpChoice{"qvx4k5.chm", true} : HelpChoice{"qvx4k5.hlp", false};
}

int OsVersionClass(const PlatformInfo& p)
{
    if (p.platformId == kPlatformNt)
        return p.major > 3 ? 3 : 2;
    return p.major > 3 ? 1 : 0;
}

}  // namespace qv
