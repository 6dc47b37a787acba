#include "app/mainState.h"

#include <cstring>

namespace {

// Lead bytes of double-byte Shift-JIS characters.
bool isSjisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

std::string sjisCut(const std::string& s, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t width = (isSjisLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return s.substr(0, i);
}

void setSiteName(TcMainState& cMain, const std::string& sjisBytes)
{
    cMain.siteNameText = sjisBytes;
    const std::string cut = sjisCut(sjisBytes, sizeof cMain.siteName - 1);
    std::memset(cMain.siteName, 0, sizeof cMain.siteName);
    std::memcpy(cMain.siteName, cut.data(), cut.size());
}

void putDefaultSite(TcMainState& cMain)
{
    setSiteName(cMain, "\x8e\x4f\x91\xe9");  // 三鷹 in Shift-JIS
    cMain.currentSiteIndex = 0;
    cMain.siteLatitude = 35.67;
    cMain.siteLongitude = 139.5;
    cMain.siteTimeZone = 9.0;
    cMain.siteSummerTime = 0;
}

std::string siteNameBytes(const TcMainState& cMain)
{
    return std::string(cMain.siteName, strnlen(cMain.siteName, sizeof cMain.siteName));
}

std::string withoutTrailingBlanks(const std::string& sjisBytes)
{
    return sjisBytes.substr(0, sjisBytes.find_last_not_of(' ') + 1);
}

std::string siteNameShown(const TcMainState& cMain)
{
    return withoutTrailingBlanks(siteNameBytes(cMain));
}
