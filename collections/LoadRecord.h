#pragma once
// Shared by TPart and TPartstr: copy one table entry into a record's fields.
#include "TaskData.h"

#include <span>

template <typename Record>
void LoadFromTable(Record& record, std::span<const TaskData> table, int32_t number)
{
    if (number < 1 || static_cast<std::size_t>(number) > table.size())
        return;
    const TaskData& data = table[static_cast<std::size_t>(number) - 1];
    record.header = data.header;
    record.position = data.position;
    record.sideToMove = data.sideToMove;
    record.solution = data.solution;
    record.taskText = data.taskText;
    record.hint = data.hint;
    record.marker = 1;
}
