#include "Unit2.h"

#include "LoadRecord.h"

void TPart::LoadTask(int32_t number)
{
    LoadFromTable(*this, TacticsTasks(), number);
}
