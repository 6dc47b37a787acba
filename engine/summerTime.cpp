#include "engine/summerTime.h"

bool summerTimeApplies(int summerFlag, int month, double latitude)
{
    const bool northSummer = month >= 4 && month <= 9;
    return summerFlag == 1 && (northSummer ? latitude > 0 : latitude < 0);
}
