#include "HintWords.h"

#include <array>

const PieceWords& Words(fullchess::PieceType kind)
{
    static const std::array<PieceWords, 7> words = {{
        {"пешка", "пешки", "пешке", "пешку", "пешкой", true},
        {"пешка", "пешки", "пешке", "пешку", "пешкой", true},
        {"конь", "коня", "коню", "коня", "конем", false},
        {"слон", "слона", "слону", "слона", "слоном", false},
        {"ладья", "ладьи", "ладье", "ладью", "ладьей", true},
        {"ферзь", "ферзя", "ферзю", "ферзя", "ферзем", false},
        {"король", "короля", "королю", "короля", "королем", false},
    }};
    return words[static_cast<std::size_t>(kind)];
}

std::string Capitalised(const std::string& word)
{
    std::string out = word;
    const auto lead = out.size() >= 2 ? static_cast<unsigned char>(out[0]) : 0;
    const auto next = out.size() >= 2 ? static_cast<unsigned char>(out[1]) : 0;
    if (lead == 0xD0 && next >= 0xB0 && next <= 0xBF) {  // а–п
        out[1] = static_cast<char>(next - 0x20);
    } else if (lead == 0xD1 && next >= 0x80 && next <= 0x8F) {  // р–я
        out[0] = static_cast<char>(0xD0);
        out[1] = static_cast<char>(next + 0x20);
    } else if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') {
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    }
    return out;
}

std::string SideGen(bool white) { return white ? "белых" : "черных"; }

std::string Plural(int n, const char* one, const char* few, const char* many)
{
    const int mod100 = n % 100, mod10 = n % 10;
    if (mod100 >= 11 && mod100 <= 14)
        return many;
    if (mod10 == 1)
        return one;
    if (mod10 >= 2 && mod10 <= 4)
        return few;
    return many;
}

std::string InMoves(int n)
{
    if (n == 1)
        return "в один ход";
    return "в " + std::to_string(n) + " " + Plural(n, "ход", "хода", "ходов");
}

std::string WingPhrase(int sq)
{
    const int file = fullchess::FileOf(sq);
    return file <= 2 ? "на ферзевом фланге" : file >= 5 ? "на королевском фланге" : "в центре";
}

std::string FileName(int sq) { return std::string(1, static_cast<char>('a' + fullchess::FileOf(sq))); }
