// Fuzz target for the site list readers and writers and the number parsers.
// The input is used three ways: as the whole content of a site file (start-up
// load, name list, record reads, then an append and an overwrite on it), as
// the text of a number field, and as three fields separated by '|'. Every
// result is checked against what the callers rely on; a broken promise traps.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/mainState.h"
#include "date/dateSpin.h"
#include "sites/numParse.h"
#include "sites/siteFile.h"

namespace {

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// One folder per process for the file under test, removed at exit.
std::string folder;
std::string filePath;

void removeFolder()
{
    ::unlink(filePath.c_str());
    ::rmdir(folder.c_str());
}

const std::string& path()
{
    if (filePath.empty()) {
        // A memory file system when there is one: the writers sync the file.
        char shm[] = "/dev/shm/fuzz_sites-XXXXXX";
        char tmp[] = "/tmp/fuzz_sites-XXXXXX";
        char* pattern = mkdtemp(shm);
        if (!pattern)
            pattern = mkdtemp(tmp);
        if (!pattern)
            std::abort();
        folder = pattern;
        filePath = folder + "/obspoint.txt";
        std::atexit(removeFolder);
    }
    return filePath;
}

void writeFile(const std::string& bytes)
{
    std::ofstream out(path(), std::ios::binary | std::ios::trunc);
    if (!out || !(out << bytes))
        std::abort();
}

std::string readFile()
{
    std::ifstream in(path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool hasSpace(const std::string& s)
{
    return s.find_first_of(" \t\n\v\f\r") != std::string::npos;
}

void checkLoad(const std::string& bytes, int32_t index)
{
    const int64_t records = static_cast<int64_t>(bytes.size() / 50);
    TcMainState s;
    s.defaultSiteIndex = index;
    const sitefile::LoadResult rc = sitefile::loadSite(s, path());
    check(rc == (records > 0 ? sitefile::LoadResult::Loaded : sitefile::LoadResult::NoRecord));
    check(s.defaultSiteIndex >= 0 && s.defaultSiteIndex < std::max<int64_t>(records, 1));
    check(s.currentSiteIndex == s.defaultSiteIndex);
    check(std::memchr(s.siteName, '\0', sizeof s.siteName) != nullptr);
    check(std::strlen(s.siteName) <= 16 && s.siteNameText.size() <= 16);
    check(std::isfinite(s.siteLatitude) && std::isfinite(s.siteLongitude) && std::isfinite(s.siteTimeZone));
    if (rc == sitefile::LoadResult::Loaded)
        check(index < 0 || index >= records || s.defaultSiteIndex == index);
}

void checkFile(const std::string& bytes, uint8_t selector)
{
    writeFile(bytes);
    checkLoad(bytes, 0);
    checkLoad(bytes, static_cast<int32_t>(selector) - 128);
    checkLoad(bytes, std::numeric_limits<int32_t>::max());
    checkLoad(bytes, std::numeric_limits<int32_t>::min());

    std::vector<std::string> names;
    check(sitefile::listNames(names, path()));
    std::size_t lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    check(names.size() == lines);
    for (const std::string& n : names)
        check(n.size() <= 16 && n.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);

    const int records = static_cast<int>(bytes.size() / 50);
    for (int n : {-1, 0, 1, static_cast<int>(selector % 8), records - 1, records, records + 1}) {
        sitefile::SiteRecord r;
        r.name = "unchanged";
        const sitefile::Status st = sitefile::readSite(n, r, path());
        const bool present = n >= 0 && static_cast<std::size_t>(n) * 50 < bytes.size();
        check(st == (present ? sitefile::Status::Ok : sitefile::Status::NoRecord));
        if (st != sitefile::Status::Ok) {
            check(r.name == "unchanged");
            continue;
        }
        check(r.name.size() <= 16 && !hasSpace(r.name) && r.name.find('\0') == std::string::npos);
        check(std::isfinite(r.latitude) && std::isfinite(r.longitude) && std::isfinite(r.timeZone));
        // Any record read back and within the dialog's ranges is written as
        // exactly 50 bytes.
        sitefile::SiteNumbers v;
        if (sitefile::checkSiteFields(sitefile::formatCoordinate(r.latitude), sitefile::formatCoordinate(r.longitude),
                                      sitefile::formatTimeZone(r.timeZone), v) == sitefile::FieldCheck::Ok)
            check(sitefile::makeRecord(r.name, v.latitude, v.longitude, v.timeZone, r.summerTime).size() == 50);
    }

    // Append keeps every byte that was there and puts the new record at its
    // number's offset; a refused append changes nothing.
    const std::string record = sitefile::makeRecord(bytes.substr(0, 20), -90, -180.1, -12.1, selector & 1);
    check(record.size() == 50);
    int number = -7;
    const sitefile::Status appended = sitefile::appendRecord(record, number, path());
    const std::string afterAppend = readFile();
    if (appended == sitefile::Status::Ok) {
        check(number >= 0 && afterAppend.size() == static_cast<std::size_t>(number + 1) * 50);
        check(afterAppend.compare(0, bytes.size(), bytes) == 0);
        check(afterAppend.compare(afterAppend.size() - 50, 50, record) == 0);
        check(number == records || number == records + 1);
    } else {
        check(appended == sitefile::Status::NotAligned && number == -7 && afterAppend == bytes);
    }

    // Overwrite changes the 50 bytes of its record or nothing.
    const int target = static_cast<int>(selector % 4);
    const sitefile::Status over = sitefile::overwriteRecord(record, target, path());
    const std::string afterOver = readFile();
    check(afterOver.size() == afterAppend.size());
    if (over == sitefile::Status::Ok) {
        std::string expected = afterAppend;
        expected.replace(static_cast<std::size_t>(target) * 50, 50, record);
        check(afterOver == expected);
    } else {
        check(afterOver == afterAppend);
    }
}

void checkNumbers(const std::string& text)
{
    double v = 12345.0;
    if (sitefile::parseNumber(text, v)) {
        check(!std::isnan(v));
        check(text.find_first_not_of(" \t+-.0123456789eE") == std::string::npos);
    } else {
        check(v == 12345.0);
    }

    std::string parts[3];
    std::size_t k = 0;
    for (char c : text) {
        if (c == '|' && k < 2)
            ++k;
        else
            parts[k] += c;
    }
    sitefile::SiteNumbers out;
    if (sitefile::checkSiteFields(parts[0], parts[1], parts[2], out) == sitefile::FieldCheck::Ok) {
        check(out.latitude >= -90 && out.latitude <= 90);
        check(out.longitude >= -180.1 && out.longitude <= 360.1);
        check(out.timeZone >= -12.1 && out.timeZone <= 12.1);
        check(sitefile::makeRecord(parts[0], out.latitude, out.longitude, out.timeZone, 1).size() == 50);
    }

    int32_t whole = 777;
    if (parseWhole(text, whole))
        check(text.find_first_not_of(" +-0123456789") == std::string::npos);
    else
        check(whole == 777);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkFile(bytes, size > 0 ? data[0] : 0);
    checkNumbers(bytes);
    return 0;
}
