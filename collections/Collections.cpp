#include "Collections.h"

int32_t CollectionSize(int32_t base)
{
    switch (base) {
    case kTacticsBase: return kTacticsCount;
    case kStrategyBase: return kStrategyCount;
    default: return 0;
    }
}

std::string BaseName(int32_t base)
{
    switch (base) {
    case kTacticsBase: return "Тактика";
    case kStrategyBase: return "Стратегия";
    default: return "";
    }
}

std::string CaptionForBase(int32_t base)
{
    const std::string name = BaseName(base);
    return name.empty() ? "Tresolvin" : "Tresolvin " + name;
}
