// mksites: writes the sample site list that ships with the program.
//
//   mksites OUTPUT
//
// OUTPUT is replaced by a new file of 50-byte Shift-JIS records written with
// the program's own record writer, record 0 being the built-in site 三鷹.
// Exit status: 0 on success, 2 on a bad command line, 1 when a name cannot
// be converted or the file cannot be written.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <iconv.h>
#include <unistd.h>

#include "sites/siteFile.h"

namespace {

struct Site {
    const char* name;  // UTF-8
    double latitude;
    double longitude;
    double timeZone;
    int summerTime;
};

// Japanese cities and observatories (UT+9, no summer time), then places that
// keep summer time in both hemispheres. New York is given east of Greenwich
// (360 - 74.01) to have a longitude beyond 180 in the list. After them, so
// that no earlier record moves, the 47 prefectural offices (都道府県庁) at the
// coordinates the Geospatial Information Authority of Japan (国土地理院)
// publishes for them, in degrees to 0.01.
const Site kSites[] = {
    {"三鷹", 35.67, 139.50, 9.00, 0},
    {"札幌", 43.06, 141.35, 9.00, 0},
    {"仙台", 38.27, 140.87, 9.00, 0},
    {"水沢", 39.13, 141.13, 9.00, 0},
    {"東京", 35.69, 139.69, 9.00, 0},
    {"野辺山", 35.94, 138.47, 9.00, 0},
    {"木曽観測所", 35.80, 137.63, 9.00, 0},
    {"名古屋", 35.18, 136.91, 9.00, 0},
    {"京都", 35.01, 135.77, 9.00, 0},
    {"大阪", 34.69, 135.50, 9.00, 0},
    {"岡山天体物理", 34.58, 133.59, 9.00, 0},
    {"広島", 34.39, 132.46, 9.00, 0},
    {"福岡", 33.59, 130.40, 9.00, 0},
    {"鹿児島", 31.60, 130.56, 9.00, 0},
    {"那覇", 26.21, 127.68, 9.00, 0},
    {"石垣島天文台", 24.37, 124.14, 9.00, 0},
    {"ロンドン", 51.51, -0.13, 0.00, 1},
    {"ニューヨーク", 40.71, 285.99, -5.00, 1},
    {"シドニー", -33.87, 151.21, 10.00, 1},
    {"サンティアゴ", -33.45, -70.67, -4.00, 1},
    {"ウェリントン", -41.29, 174.78, 12.00, 1},
    {"北海道庁", 43.06, 141.35, 9.00, 0},
    {"青森県庁", 40.82, 140.74, 9.00, 0},
    {"岩手県庁", 39.70, 141.15, 9.00, 0},
    {"宮城県庁", 38.27, 140.87, 9.00, 0},
    {"秋田県庁", 39.72, 140.10, 9.00, 0},
    {"山形県庁", 38.24, 140.36, 9.00, 0},
    {"福島県庁", 37.75, 140.47, 9.00, 0},
    {"茨城県庁", 36.34, 140.45, 9.00, 0},
    {"栃木県庁", 36.57, 139.88, 9.00, 0},
    {"群馬県庁", 36.39, 139.06, 9.00, 0},
    {"埼玉県庁", 35.86, 139.65, 9.00, 0},
    {"千葉県庁", 35.60, 140.12, 9.00, 0},
    {"東京都庁", 35.69, 139.69, 9.00, 0},
    {"神奈川県庁", 35.45, 139.64, 9.00, 0},
    {"新潟県庁", 37.90, 139.02, 9.00, 0},
    {"富山県庁", 36.70, 137.21, 9.00, 0},
    {"石川県庁", 36.59, 136.63, 9.00, 0},
    {"福井県庁", 36.07, 136.22, 9.00, 0},
    {"山梨県庁", 35.66, 138.57, 9.00, 0},
    {"長野県庁", 36.65, 138.18, 9.00, 0},
    {"岐阜県庁", 35.39, 136.72, 9.00, 0},
    {"静岡県庁", 34.98, 138.38, 9.00, 0},
    {"愛知県庁", 35.18, 136.91, 9.00, 0},
    {"三重県庁", 34.73, 136.51, 9.00, 0},
    {"滋賀県庁", 35.00, 135.87, 9.00, 0},
    {"京都府庁", 35.02, 135.76, 9.00, 0},
    {"大阪府庁", 34.69, 135.52, 9.00, 0},
    {"兵庫県庁", 34.69, 135.18, 9.00, 0},
    {"奈良県庁", 34.69, 135.83, 9.00, 0},
    {"和歌山県庁", 34.23, 135.17, 9.00, 0},
    {"鳥取県庁", 35.50, 134.24, 9.00, 0},
    {"島根県庁", 35.47, 133.05, 9.00, 0},
    {"岡山県庁", 34.66, 133.94, 9.00, 0},
    {"広島県庁", 34.40, 132.46, 9.00, 0},
    {"山口県庁", 34.19, 131.47, 9.00, 0},
    {"徳島県庁", 34.07, 134.56, 9.00, 0},
    {"香川県庁", 34.34, 134.04, 9.00, 0},
    {"愛媛県庁", 33.84, 132.77, 9.00, 0},
    {"高知県庁", 33.56, 133.53, 9.00, 0},
    {"福岡県庁", 33.61, 130.42, 9.00, 0},
    {"佐賀県庁", 33.25, 130.30, 9.00, 0},
    {"長崎県庁", 32.74, 129.87, 9.00, 0},
    {"熊本県庁", 32.79, 130.74, 9.00, 0},
    {"大分県庁", 33.24, 131.61, 9.00, 0},
    {"宮崎県庁", 31.91, 131.42, 9.00, 0},
    {"鹿児島県庁", 31.56, 130.56, 9.00, 0},
    {"沖縄県庁", 26.21, 127.68, 9.00, 0},
};

bool toSjis(const char* utf8, std::string& out)
{
    iconv_t cd = iconv_open("SHIFT_JIS", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in(utf8);
    char buf[64];
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = buf;
    std::size_t outLeft = sizeof buf;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0)
        return false;
    out.assign(buf, sizeof buf - outLeft);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: mksites OUTPUT\n");
        return 2;
    }
    const std::string path = argv[1];
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        std::fprintf(stderr, "mksites: cannot replace %s: %s\n", path.c_str(), std::strerror(errno));
        return 1;
    }
    int expected = 0;
    for (const Site& s : kSites) {
        std::string name;
        if (!toSjis(s.name, name) || name.size() > sitefile::kNameBytes) {
            std::fprintf(stderr, "mksites: name %s does not fit 14 Shift-JIS bytes\n", s.name);
            return 1;
        }
        const std::string record = sitefile::makeRecord(name, s.latitude, s.longitude, s.timeZone, s.summerTime);
        int number = -1;
        if (sitefile::appendRecord(record, number, path) != sitefile::Status::Ok || number != expected) {
            std::fprintf(stderr, "mksites: cannot write record %d to %s\n", expected, path.c_str());
            return 1;
        }
        ++expected;
    }
    std::printf("%d records written to %s\n", expected, path.c_str());
    return 0;
}
