#include "TrainingTexts.h"

#include "TaskRecord.h"

std::string CaptionForBase(int32_t base)
{
    switch (base) {
    case kTacticsBase: return "Tresolvin Тактика";
    case kStrategyBase: return "Tresolvin Стратегия";
    default: return "Tresolvin";
    }
}

std::string ResultsText(int32_t attemptCount, int32_t solvedCount)
{
    return "Количество попыток " + std::to_string(attemptCount) + ". Результат " + std::to_string(solvedCount) + ".";
}
