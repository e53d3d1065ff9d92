#pragma once
// Small boards of the tests' own making, for the training run and the main
// window, with what both fixtures share: the scripting of a draw and the
// reset of the settings.
#include "BoardGeometry.h"
#include "Settings.h"
#include "TaskDraw.h"
#include "TaskRecord.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

// Row and column of a square name: "e3" is row 6, column 5.
inline Square At(const char* name)
{
    return {'9' - name[1], name[0] - 'a' + 1};
}

namespace boards {
// The worked example: White to move, "e3-g5 f3:d1 b3:e6".
inline const TaskRecord kExample{"[White \"Alpha.\"]\r\n[Black \"Beta.\"]\r\n[EventDate \"1945\"]",
                                 "r3kb1r/2q2ppp/p3p3/1p6/3Q4/1BP1Bb2/PP3P1P/2KRR3", "w", "e3-g5 f3:d1 b3:e6",
                                 "Ход белых. Найдите оптимальный вариант.", "Попробуйте выиграть на связке.", 1};
// The reply takes the figure just dropped: f5-h6 g7:h6 g5:f6.
inline const TaskRecord kRecapture{"[White \"Gamma.\"]\r\n[Black \"Delta.\"]\r\n[EventDate \"1950\"]",
                                   "r2qrbk1/1bp2ppp/p2p1n2/2p2NB1/4P3/2N2Q2/PPP2PPP/R3R1K1", "w",
                                   "f5-h6 g7:h6 g5:f6", "Ход белых.", "Свяжите коня.", 1};
// Black to move, one token.
inline const TaskRecord kBlack{"[White \"E\"]\r\n[Black \"Z\"]\r\n[EventDate \"0000\"]", "4k3/8/8/8/8/8/4P3/4K3", "b",
                               "e8-d8", "Ход черных.", "Отступите королем.", 1};
// A rook that the line moves across the board, and a figure it captures.
inline const TaskRecord kRook{"[White \"R\"]\r\n[Black \"S\"]\r\n[EventDate \"1999\"]", "3rk3/8/8/8/8/8/P7/4KR2", "w",
                              "f1-f8 d8:f8 a2-a3", "Ход белых.", "Ладья.", 1};
inline const TaskRecord kStrategy{"[White \"Eta\"]\r\n[Black \"Theta\"]\r\n[EventDate \"2008\"]",
                                  "8/8/5pkp/3Q4/5P2/1P4K1/6P1/1r5r", "w", "f4-f5", "Ход белых.", "Пространство.", 1};
} // namespace boards

// The boards by base and number: tactics 1 to 4, strategy 1.
using BoardTable = std::map<std::pair<int32_t, int32_t>, TaskRecord>;
inline BoardTable Boards()
{
    return {{{kTacticsBase, 1}, boards::kExample}, {{kTacticsBase, 2}, boards::kRecapture},
            {{kTacticsBase, 3}, boards::kBlack},   {{kTacticsBase, 4}, boards::kRook},
            {{kStrategyBase, 1}, boards::kStrategy}};
}

// The index, among the tests of the base in TaskBaseSetting still free in
// `rounds` (in the order the draw sees them), that a scripted draw must give
// for the board of test `number`: `number` itself while it is free, else the
// first free number from 100 on, which is given the same board in `table`.
inline int32_t FreeIndexFor(BoardTable& table, const TaskRounds& rounds, int32_t number)
{
    const int32_t base = TaskBaseSetting;
    const std::vector<int32_t> free = rounds.Candidates(base, CollectionOf(base)->Range);
    const auto at = [&](int32_t n) { return std::find(free.begin(), free.end(), n); };
    int32_t chosen = number;
    if (at(number) == free.end()) {
        for (chosen = 100; at(chosen) == free.end(); ++chosen) {}
        if (const auto it = table.find({base, number}); it != table.end())
            table[{base, chosen}] = it->second;
    }
    return static_cast<int32_t>(at(chosen) - free.begin());
}

// No settings file (nor its directory), and every setting 0 in memory.
inline void ResetSettings()
{
    std::filesystem::remove_all(SettingsFilePath().parent_path());
    for (const SettingInfo& info : kSettings)
        *info.Variable = 0;
}

// A loader over `table`: nothing for a base that names no collection, an
// empty record for a number the table does not hold.
inline std::optional<TaskRecord> LoadFrom(const BoardTable& table, int32_t base, int32_t number)
{
    if (base != kTacticsBase && base != kStrategyBase)
        return std::nullopt;
    const auto it = table.find({base, number});
    return it == table.end() ? TaskRecord{} : it->second;
}
