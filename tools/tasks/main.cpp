// tresolvin-tasks: the offline tool that mines, selects, prints and checks the
// built-in test collections. Never needed to run the program.
#include "Commands.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: tresolvin-tasks COMMAND [options]\n"
    "  mine DIR [--out DIR] [--shard K/N] [--hours H] [--games N] [--engine PATH] [--stalemates | --check-runs | --forcing-runs | --early-runs\n"
    "       | --pair-runs | --single-runs | --endings | --swings\n"
    "       | --stalemate-tricks]\n"
    "      find candidate tests in the PGN files of DIR; resumable\n"
    "  select [--mined DIR] [--out DIR] [--jobs N] [--nodes N] [--max-confirm N] [--no-confirm]\n"
    "         [--firm-nodes N,N...] [--preview] [--show-hints] [--extend TOKENS]\n"
    "      pick the collections from the candidates, confirm their lines at full depth\n"
    "      (cached, resumable) and write the generated source; each chosen line is walked\n"
    "      again at every firm count verify searches its collection at (default 8000000);\n"
    "      --extend N instead grows the confirmed tactics lines of N tokens or more at full\n"
    "      depth (resumable)\n"
    "  dump\n"
    "      print the compiled collections as JSON lines\n"
    "  verify [--nodes N,N...] [--jobs N] [--engine PATH] [--only tactics|strategy] [--from N] [--to N]\n"
    "         [--rules-only] [--record DIR | --no-record]\n"
    "      re-check every compiled test with the engine at each node budget (by default\n"
    "      2000000,4000000,8000000,16000000); verdicts are kept in DIR/verify-NODES.tsv\n"
    "      (default tools/tasks/mined) and a record already judged on the same text, budget\n"
    "      and engine is not searched again (resumable)\n"
    "  pool [DIR]\n"
    "      what the mined candidates can give under the rules of a test, by kind and length\n"
    "  names DIR [--mined DIR] [--out FILE]\n      write tools/tasks/players.tsv, the header form of every player of the candidates\n";

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    try {
        const std::string command = args[0];
        args.erase(args.begin());
        if (command == "mine")
            return CommandMine(args);
        if (command == "select")
            return CommandSelect(args);
        if (command == "dump")
            return CommandDump(args);
        if (command == "verify")
            return CommandVerify(args);
        if (command == "pool")
            return CommandPool(args);
        if (command == "names")
            return CommandNames(args);
        std::cerr << "tresolvin-tasks: unknown command \"" << command << "\"\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "tresolvin-tasks: " << e.what() << "\n";
        return 1;
    }
}
