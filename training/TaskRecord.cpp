#include "TaskRecord.h"

#include "Unit2.h"
#include "Unitstrategy.h"

#include <string_view>

namespace {

template <typename Collection>
TaskRecord Load(int32_t number)
{
    Collection fresh;
    fresh.LoadTask(number);
    return TaskRecord{fresh.header, fresh.position, fresh.sideToMove, fresh.solution,
                      fresh.taskText, fresh.hint, fresh.marker};
}

} // namespace

std::optional<CollectionLimits> CollectionOf(int32_t base)
{
    switch (base) {
    case kTacticsBase: return CollectionLimits{kTacticsCount};
    case kStrategyBase: return CollectionLimits{kStrategyCount};
    default: return std::nullopt;
    }
}

std::optional<TaskRecord> LoadFromCollections(int32_t base, int32_t number)
{
    switch (base) {
    case kTacticsBase: return Load<TPart>(number);
    case kStrategyBase: return Load<TPartstr>(number);
    default: return std::nullopt;
    }
}

std::vector<std::string> TaskTextLines(const TaskRecord& record, bool withHint)
{
    // The header is shown as it is stored; only its CR LF separators become
    // line breaks of the pane.
    std::vector<std::string> lines;
    std::string_view header = record.header;
    for (;;) {
        const auto end = header.find("\r\n");
        lines.emplace_back(header.substr(0, end));
        if (end == std::string_view::npos)
            break;
        header.remove_prefix(end + 2);
    }
    lines.push_back(record.taskText);
    if (withHint) {
        lines.emplace_back(kHintTitle);
        lines.push_back(record.hint);
    }
    return lines;
}
