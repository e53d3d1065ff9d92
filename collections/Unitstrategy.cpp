#include "Unitstrategy.h"

#include "LoadRecord.h"

void TPartstr::LoadTask(int32_t number)
{
    LoadFromTable(*this, StrategyTasks(), number);
}
