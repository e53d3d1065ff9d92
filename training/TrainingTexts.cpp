#include "TrainingTexts.h"

std::string ResultsText(int32_t attemptCount, int32_t solvedCount)
{
    return "Количество попыток " + std::to_string(attemptCount) + ". Результат " + std::to_string(solvedCount) + ".";
}
