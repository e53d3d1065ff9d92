// The "pool" command: what the mined candidates can give under the rules of a
// test, by kind and length, without an engine.
#include "Commands.h"

#include "Rules.h"
#include "Select.h"

#include <iostream>
#include <map>

using fullchess::Position;

int CommandPool(const std::vector<std::string>& args)
{
    const std::string dir = args.empty() ? "tools/tasks/mined" : args[0];
    const auto candidates = LoadCandidates(dir);
    struct Tally {
        int all = 0, startOk = 0, usable = 0, quietFirst = 0;
        std::map<int, int> longest, quietLongest;
        std::map<std::string, int> ends;
    };
    std::map<char, Tally> tally;
    for (const Candidate& c : candidates) {
        Tally& t = tally[KindLetter(c.kind)];
        ++t.all;
        const auto root = Position::FromFen(c.fen);
        if (!root || c.line.moves.empty())
            continue;
        const StartFacts start = ReadStart(*root, c.line.moves.front());
        if (!start.AsksForThought())
            continue;
        ++t.startOk;
        const auto lengths = EndLengths(c);
        if (lengths.empty())
            continue;
        ++t.usable;
        t.longest[lengths.back()]++;
        if (!start.firstMoveChecks) {
            ++t.quietFirst;
            t.quietLongest[lengths.back()]++;
        }
        const auto& step = c.line.steps[static_cast<std::size_t>(lengths.back() / 2)];
        t.ends[LineEndName(JudgeEnd(c.kind, ReplayLine(*root, c.line.moves, lengths.back()), step.after))]++;
    }
    for (const auto& [kind, t] : tally) {
        std::cout << kind << ": " << t.all << " candidates, " << t.startOk << " with a sound start, " << t.usable
                  << " usable, " << t.quietFirst << " of them without a first check\n  longest:";
        for (const auto& [n, k] : t.longest)
            std::cout << " " << n << ":" << k;
        std::cout << "\n  longest without a first check:";
        for (const auto& [n, k] : t.quietLongest)
            std::cout << " " << n << ":" << k;
        std::cout << "\n  ends:";
        for (const auto& [e, k] : t.ends)
            std::cout << " " << e << ":" << k;
        std::cout << "\n";
    }
    return 0;
}
