// The Windows platform family and version as a plain value, and the rules
// that depend on it. Read once at start-up; tests set it to any system.
#pragma once

#include <string>

namespace qv {

enum PlatformId { kPlatformWin32s = 0, kPlatformWindows = 1, kPlatformNt = 2 };

struct PlatformInfo {
    int platformId = kPlatformNt;
    int major = 10;
    int minor = 0;

    bool IsNtFamily() const { return platformId == kPlatformNt; }
};

struct HelpChoice {
    std::string fileName;  // "qvx4k5.chm" or "qvx4k5.hlp"
    bool isHtml;
};

// Windows 98 and later, Windows 2000 and later, and unknown platforms use
// HTML Help; Windows 95 and NT 4 use WinHelp.
HelpChoice ChooseHelpFile(const PlatformInfo& platform);

// 0/1 for the 9x family, 2/3 for NT; odd when the major version is above 3.
int OsVersionClass(const PlatformInfo& platform);
inline bool IsNewShell(const PlatformInfo& platform) { return OsVersionClass(platform) % 2 == 1; }

}  // namespace qv
