// Player names in the headers: one "Surname, I." per player, whatever the spelling.
#include "Names.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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
        {"Svidler,P", "Svidler, P."},
        {"Yudasin, Leonid", "Yudasin, L."},
        {"Capablanca, Jose Raul ", "Capablanca, J."},
        {"Benko, PP.", "Benko, P."},
        {"Ivanov,AV USA", "Ivanov, A."},
        {"Moiseenko,A1", "Moiseenko, A."},
        {"Li Chao2", "Li, C."},
        {"Bechstedt, Dr", "Bechstedt"},
        {"Lehmann, Heinz Dr", "Lehmann, H."},
        {"Anderssen", "Anderssen"},
        {"Del Pozo", "Del Pozo"},
        {"Van der Wiel, John TH", "Van der Wiel, J."},
        {"DeFirmian, Nick", "De Firmian, N."},
        {"Znosko Borovsky, Eugene", "Znosko-Borovsky, E."},
        {"NN", "NN"},
        {"N.N.", "N.N."},
        {" (USA) ", "NN"},
        {"Steinitz/Potter", "Steinitz/Potter"},
        // comma-less, ordered by the corpus
        {"Yates Frederick", "Yates, F."},
        {"Fred Dewhirst Yates", "Yates, F."},
        {"Carlos Torre Repetto", "Torre, C."},
        {"Torre Repetto Carlos (MEX)", "Torre, C."},
        {"Reshevsky Samuel H (", "Reshevsky, S."},
        {"Abraham Kupchik", "Kupchik, A."},
        // comma-less, ordered by the rules
        {"Nguyen Anh Dung", "Nguyen, A."},
        {"Bu Xiangzhi", "Bu, X."},
        {"Gruenfeld Ernst F", "Gruenfeld, E."},
        {"Nay Oo Kyaw Tun", "Nay Oo Kyaw Tun"},
        // one player, several spellings
        {"Kortschnoj, Viktor", "Korchnoi, V."},
        {"Korchnoi,V", "Korchnoi, V."},
        {"Kobalija,M", "Kobalia, M."},
        {"Hazenfuss, V R.", "Hasenfuss, W."},
        {"Von Freyman, Sergey", "Freymann, S."},
        {"Freiman, Sergey Nikolaevich", "Freymann, S."},
        {"Freiman, Boris", "Freiman, B."},
    };
    const NameEvidence evidence = Corpus();
    for (const auto& c : cases) {
        const PlayerName name = CanonicalName(c.raw, evidence);
        EXPECT_EQ(name.header, c.header) << c.raw;
        EXPECT_FALSE(name.guessed) << c.raw;
    }
}

TEST(Names, WithoutEvidenceTheOrderIsGuessedAndSaid)
{
    const PlayerName name = CanonicalName("Harold Evans Jennings", Corpus());
    EXPECT_EQ(name.header, "Jennings, H.");
    EXPECT_TRUE(name.guessed);
    EXPECT_EQ(CanonicalName("Yates Frederick", NameEvidence()).header, "Frederick, Y.");
}

TEST(Names, TableFirstThenTheRules)
{
    const auto path = std::filesystem::temp_directory_path() / "tresolvin-players-test.tsv";
    std::ofstream(path) << "# comment\nYates Frederick\tYates, F.\nSvidler,P\tSvidler, P.\n";
    EXPECT_EQ(HeaderName("Yates Frederick", path.string()), "Yates, F.");
    EXPECT_EQ(HeaderName("Kortschnoj, Viktor", path.string()), "Korchnoi, V.");
    EXPECT_EQ(ReadPlayersTable(path.string()).size(), 2u);
    std::filesystem::remove(path);
    EXPECT_EQ(HeaderSurname("Yates, F."), "Yates");
    EXPECT_EQ(HeaderSurname("N.N."), "N.N.");
}

} // namespace
