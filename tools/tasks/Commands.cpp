#include "Commands.h"

#include "Mine.h"

#include <stdexcept>

namespace {

// The value after `name`, consuming both; throws when it is missing.
std::string TakeValue(const std::vector<std::string>& args, std::size_t& i)
{
    if (i + 1 >= args.size())
        throw std::invalid_argument(args[i] + " needs a value");
    return args[++i];
}

} // namespace

int CommandMine(const std::vector<std::string>& args)
{
    MineOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out") {
            options.outDir = TakeValue(args, i);
        } else if (a == "--shard") {
            const std::string value = TakeValue(args, i);
            const auto slash = value.find('/');
            if (slash == std::string::npos)
                throw std::invalid_argument("--shard takes K/N");
            options.shard = std::stoi(value.substr(0, slash));
            options.shards = std::stoi(value.substr(slash + 1));
            if (options.shards < 1 || options.shard < 0 || options.shard >= options.shards)
                throw std::invalid_argument("--shard K/N needs 0 <= K < N");
        } else if (a == "--hours") {
            options.hours = std::stod(TakeValue(args, i));
        } else if (a == "--games") {
            options.maxGames = std::stoi(TakeValue(args, i));
        } else if (const MineMode* mode = FindMineMode(a)) {
            if (options.mode != &DefaultMineMode() && options.mode != mode)
                throw std::invalid_argument("mine: " + a + " and " + std::string(options.mode->flag) + " are two modes; choose one");
            options.mode = mode;
        } else if (a == "--engine") {
            options.engine = TakeValue(args, i);
        } else if (!a.empty() && a[0] != '-' && options.corpusDir.empty()) {
            options.corpusDir = a;
        } else {
            throw std::invalid_argument("mine: unknown argument " + a);
        }
    }
    if (options.corpusDir.empty())
        throw std::invalid_argument("mine needs the directory of the PGN files");
    return RunMine(options);
}
