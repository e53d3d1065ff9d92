#include "Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

int CorpusGame::Year() const
{
    for (const std::string* text : {&date, &eventDate}) {
        if (text->size() >= 4 && std::all_of(text->begin(), text->begin() + 4, [](char c) { return c >= '0' && c <= '9'; }))
            return std::stoi(text->substr(0, 4));
    }
    return 0;
}

int CorpusGame::FinalCheckRun(bool capturesToo) const
{
    const bool whiteWon = result == "1-0";
    if (!whiteWon && result != "0-1")
        return 0;
    int run = 0;
    for (int ply = static_cast<int>(san.size()) - 1; ply >= 0; --ply) {
        if ((ply % 2 == 0) != whiteWon)
            continue;
        if (san[static_cast<std::size_t>(ply)].find_first_of(capturesToo ? "+#x" : "+#") == std::string::npos)
            break;
        ++run;
    }
    return run;
}

std::vector<CorpusGame> LoadCorpus(const std::string& directory)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file() && entry.path().extension() == ".pgn")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<CorpusGame> games;
    for (const auto& path : files) {
        std::ifstream in(path);
        if (!in) {
            std::cerr << path.string() << ": cannot be read\n";
            continue;
        }
        PgnReader reader(in);
        int index = 0;
        while (auto game = reader.Next()) {
            CorpusGame g;
            g.file = path.filename().string();
            g.index = index++;
            g.line = game->firstLine;
            g.white = game->Tag("White");
            g.black = game->Tag("Black");
            g.event = game->Tag("Event");
            g.site = game->Tag("Site");
            g.date = game->Tag("Date");
            g.eventDate = game->Tag("EventDate");
            g.result = game->Tag("Result");
            g.san = std::move(game->moves);
            games.push_back(std::move(g));
        }
    }
    return games;
}

std::optional<Replay> ReplayGame(const CorpusGame& game, std::string& error)
{
    Replay replay;
    fullchess::Position position;
    replay.positions.push_back(position);
    for (std::size_t ply = 0; ply < game.san.size(); ++ply) {
        const auto move = position.ParseSan(game.san[ply]);
        if (!move) {
            error = game.file + ":" + std::to_string(game.line) + ": ply " + std::to_string(ply + 1) + " \""
                + game.san[ply] + "\" is not a legal move; game skipped";
            return std::nullopt;
        }
        position.Play(*move);
        replay.moves.push_back(*move);
        replay.positions.push_back(position);
    }
    return replay;
}
