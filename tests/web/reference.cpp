// The desktop's figures for the web tests: the main window's four lines for
// a site and a date, and a hash of the phase picture painted on the
// full-moon picture given as raw RGB bytes.
//   web_reference LAT LON TZ SUMMER YEAR MONTH DAY [FULLMOON.rgb]
// Prints the four lines, then "pixels <FNV-1a of the RGB bytes>".
//   web_reference --koyomi YEAR MONTH DAY
// Prints the lines of the details' calendar block, one a line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/dispLines.h"
#include "app/mainState.h"
#include "app/phase.h"
#include "engine/prcCalc.h"
#include "koyomi/koyomiText.h"

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--koyomi") {
        for (const std::string& line : koyomi::koyomiLines(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4])))
            std::printf("%s\n", line.c_str());
        return 0;
    }
    if (argc < 8) {
        std::fprintf(stderr, "usage: web_reference LAT LON TZ SUMMER YEAR MONTH DAY [FULLMOON.rgb]\n");
        return 2;
    }
    TcMainState state;
    state.pi = 3.141592653589793;
    state.twoPi = state.pi * 2;
    state.siteLatitude = std::atof(argv[1]);
    state.siteLongitude = std::atof(argv[2]);
    state.siteTimeZone = std::atof(argv[3]);
    state.siteSummerTime = std::atoi(argv[4]);
    const int year = std::atoi(argv[5]), month = std::atoi(argv[6]), day = std::atoi(argv[7]);
    const TcCalc calc(state);
    TcDayResult r;
    calc.mooncalc(year, month, day, r);
    const DispLines lines = dispLines(year, month, day, r, state.twoPi);
    std::printf("%s\n%s\n%s\n%s\n", lines.date.c_str(), lines.sun.c_str(), lines.moon.c_str(), lines.age.c_str());
    if (argc < 9)
        return 0;
    std::ifstream in(argv[8], std::ios::binary);
    const std::string rgb((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TcImage canvas(phase::kPictureWidth, phase::kPictureHeight);
    if (rgb.size() != canvas.pixels.size() * 3) {
        std::fprintf(stderr, "web_reference: %s is not the picture's RGB bytes\n", argv[8]);
        return 1;
    }
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] = static_cast<uint32_t>(static_cast<unsigned char>(rgb[3 * i]) << 16 |
                                                 static_cast<unsigned char>(rgb[3 * i + 1]) << 8 |
                                                 static_cast<unsigned char>(rgb[3 * i + 2]));
    funcPhase(canvas, r.moonAge, state.pi, state.twoPi);
    uint32_t hash = 2166136261u;
    for (const uint32_t p : canvas.pixels)
        for (const int shift : {16, 8, 0}) {
            hash ^= (p >> shift) & 0xFF;
            hash *= 16777619u;
        }
    std::printf("pixels %08x\n", static_cast<unsigned>(hash));
    return 0;
}
