// Player names in the headers: one "Surname, I." per player, whatever the spelling.
#include "Candidate.h"
#include "Commands.h"
#include "Names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

NameEvidence Corpus()
{
    NameEvidence e;
    for (const char* raw : {"Yates, Frederick", "Torre Repetto, Carlos", "Kupchik, Abraham", "Reshevsky, Samuel Herman"})
        e.Add(raw, 10);
    return e;
}

TEST(Names, HeaderForms)
{
    const struct {
        const char* raw;
        const char* header;
    } cases[] = {
        {"Svidler,P", "Svidler, P."}, {"Yudasin, Leonid", "Yudasin, L."}, {"Capablanca, Jose Raul ", "Capablanca, J."},
        {"Benko, PP.", "Benko, P."}, {"Ivanov,AV USA", "Ivanov, A."}, {"Moiseenko,A1", "Moiseenko, A."},
        {"Li Chao2", "Li, C."}, {"Bechstedt, Dr", "Bechstedt"}, {"Lehmann, Heinz Dr", "Lehmann, H."},
        {"Anderssen", "Anderssen"}, {"Del Pozo", "Del Pozo"}, {"Van der Wiel, John TH", "Van der Wiel, J."},
        {"DeFirmian, Nick", "De Firmian, N."}, {"Znosko Borovsky, Eugene", "Znosko-Borovsky, E."}, {"NN", "NN"},
        {"N.N.", "N.N."}, {" (USA) ", "NN"}, {"Steinitz/Potter", "Steinitz/Potter"},
        // comma-less, ordered by the corpus
        {"Yates Frederick", "Yates, F."}, {"Fred Dewhirst Yates", "Yates, F."}, {"Carlos Torre Repetto", "Torre, C."},
        {"Torre Repetto Carlos (MEX)", "Torre, C."}, {"Reshevsky Samuel H (", "Reshevsky, S."}, {"Abraham Kupchik", "Kupchik, A."},
        // comma-less, ordered by the rules
        {"Nguyen Anh Dung", "Nguyen, A."}, {"Bu Xiangzhi", "Bu, X."}, {"Gruenfeld Ernst F", "Gruenfeld, E."},
        {"Gruenfeld Ernst FJ", "Gruenfeld, E."}, {"Nay Oo Kyaw Tun", "Nay Oo Kyaw Tun"},
        // one player, several spellings
        {"Kortschnoj, Viktor", "Korchnoi, V."}, {"Korchnoi,V", "Korchnoi, V."}, {"Kobalija,M", "Kobalia, M."},
        {"Hazenfuss, V R.", "Hasenfuss, W."}, {"Von Freyman, Sergey", "Freymann, S."}, {"Freiman, Sergey Nikolaevich", "Freymann, S."},
        {"Freiman, Boris", "Freiman, B."},
    };
    const NameEvidence evidence = Corpus();
    for (const auto& c : cases) {
        const PlayerName name = CanonicalName(c.raw, evidence);
        EXPECT_EQ(name.header, c.header) << c.raw;
        EXPECT_FALSE(name.guessed) << c.raw;
    }
}

// The table first, then the rules; without evidence the order is guessed and said.
TEST(Names, TableFirstThenTheRules)
{
    const PlayerName name = CanonicalName("Harold Evans Jennings", Corpus());
    EXPECT_EQ(name.header, "Jennings, H.");
    EXPECT_TRUE(name.guessed);
    EXPECT_EQ(CanonicalName("Yates Frederick", NameEvidence()).header, "Frederick, Y.");
    const auto path = std::filesystem::temp_directory_path() / "tresolvin-players-test.tsv";
    std::ofstream(path) << "# comment\nYates Frederick\tYates, F.\nSvidler,P\tSvidler, P.\n";
    EXPECT_EQ(HeaderName("Yates Frederick", path.string()), "Yates, F.");
    EXPECT_EQ(HeaderName("Kortschnoj, Viktor", path.string()), "Korchnoi, V.");
    EXPECT_EQ(ReadPlayersTable(path.string()).size(), 2u);
    std::filesystem::remove(path);
    // A relative table is the one where it points when asked, not where it pointed first.
    const auto home = std::filesystem::current_path(), with = path.parent_path() / "tresolvin-with-table";
    std::filesystem::create_directories(with / "elsewhere");
    std::ofstream(with / "players.tsv") << "Yates Frederick\tYates, F.\n";
    std::filesystem::current_path(with / "elsewhere");
    EXPECT_EQ(HeaderName("Yates Frederick", "players.tsv"), "Frederick, Y.");
    std::filesystem::current_path(with);
    EXPECT_EQ(HeaderName("Yates Frederick", "players.tsv"), "Yates, F.");
    std::filesystem::current_path(home);
    std::filesystem::remove_all(with);
    EXPECT_EQ(HeaderSurname("Yates, F."), "Yates");
    EXPECT_EQ(HeaderSurname("N.N."), "N.N.");
    EXPECT_TRUE(CanonicalName("Kortschnoj, Viktor", Corpus()).aliased);
    EXPECT_FALSE(CanonicalName("Yudasin, Leonid", Corpus()).aliased);
}

// names over the players of the mined candidates: the table, the players
// written several ways or aliased (stdout), the guesses and counts (stderr).
TEST(Names, CommandWritesTheTableAndTellsWhatToCheck)
{
    const auto dir = std::filesystem::temp_directory_path() / ("names-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "pgn");
    std::filesystem::create_directories(dir / "mined");
    {
        std::ofstream candidates(dir / "mined" / "candidates-0of1.tsv");
        for (const auto& [white, black] : {std::pair{"Kortschnoj, Viktor", "Korchnoi,V"}, {"Yudasin, Leonid", "Harold Evans Jennings"}}) {
            Candidate c;
            c.fen = "4k3/8/8/8/8/8/8/R3K3 w - - 0 1";
            c.white = white;
            c.black = black;
            c.line.moves = {"a1a8"};
            c.line.steps = {{Score::Cp(0), Score::Cp(-300), Score::Cp(0), false, false}};
            candidates << FormatCandidate(c) << "\n";
        }
    }
    const std::string out = (dir / "players.tsv").string();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(CommandNames({(dir / "pgn").string(), "--mined", (dir / "mined").string(), "--out", out}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "alias  Korchnoi, V.\tKorchnoi,V | Kortschnoj, Viktor\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "names: order guessed, add an entry if wrong: Harold Evans Jennings -> Jennings, H.\n"
              "names: 0 games read; 4 spellings, 3 players (1 with several spellings, 1 by the alias table); 1 guessed; "
              "written to " + out + "\n");
    EXPECT_EQ(ReadPlayersTable(out).size(), 4u);
    std::filesystem::remove_all(dir);
}

} // namespace
