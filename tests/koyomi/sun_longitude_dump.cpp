// Reads Julian days (TT), one a line, and prints the sun's apparent
// longitude of each in degrees: the engine's side of koyomi_accuracy.py.
#include <cstdio>

#include "koyomi/sky.h"

int main()
{
    double jdTt;
    while (std::scanf("%lf", &jdTt) == 1)
        std::printf("%.9f\n", koyomi::sunLongitude(jdTt));
    return 0;
}
