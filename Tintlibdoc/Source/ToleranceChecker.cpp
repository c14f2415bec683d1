// ToleranceChecker: the shared helpers of all checkers.
#include "ToleranceChecker.h"

#include "PatchComparer.h"

#include <charconv>

ToleranceChecker::ToleranceChecker(PatchComparer* comparer_, TolerancesData* tolerances_)
    : comparer(comparer_), tolerances(tolerances_)
{
}

std::string ToleranceChecker::colorString(DOCReport::eToleranceColourQtRpt colour) const
{
    switch (colour)
    {
    case DOCReport::eGreen: return "GREEN";
    case DOCReport::eYellow: return "YELLOW";
    case DOCReport::eRed: return "RED";
    default: return "";
    }
}

std::string ToleranceChecker::LimitText(float limit)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(limit),
                                      std::chars_format::fixed, 1);
    if (result.ec != std::errc())
        return "";
    return std::string(buffer, result.ptr);
}

bool ToleranceChecker::PatchDeltaE(int index, double& dE) const
{
    return comparer != nullptr && comparer->PatchDeltaE(index, dE);
}

bool ToleranceChecker::PatchCompared(int index) const
{
    return comparer != nullptr && comparer->ListPosition(index) >= 0;
}
