#include "Names.h"

#include "Candidate.h"
#include "Commands.h"
#include "Corpus.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>

namespace {

// One player under several spellings: the variant surname, optionally with
// the initial it comes with, and the spelling a current English-language
// source uses (with the initial when that changes too).
struct Alias {
    const char* from;
    const char* to;
};
const Alias kAliases[] = {
    // transliterations
    {"Kortschnoj", "Korchnoi"},
    {"Kortchnoi", "Korchnoi"},
    {"Jussupow", "Yusupov"},
    {"Bogoljubow", "Bogoljubov"},
    {"Aljechin", "Alekhine"},
    {"Aljekhin", "Alekhine"},
    {"Tschigorin", "Chigorin"},
    {"Botwinnik", "Botvinnik"},
    {"Smyslow", "Smyslov"},
    {"Tahl", "Tal"},
    {"Petrosjan", "Petrosian"},
    {"Spasski", "Spassky"},
    {"Polugajevsky", "Polugaevsky"},
    {"Polugajewski", "Polugaevsky"},
    {"Nimzovich", "Nimzowitsch"},
    {"Nimzowitch", "Nimzowitsch"},
    {"Kobalija", "Kobalia"},
    {"Timoscenko, G", "Timoshenko"},
    {"Kamishov, M", "Kamyshov"},
    {"Shianovsky, V", "Shiyanovsky"},
    {"Sutovskij, E", "Sutovsky"},
    {"Sulipa, A", "Sulypa"},
    {"Sashikiran, K", "Sasikiran"},
    {"Khachian, M", "Khachiyan"},
    {"Planinec, A", "Planinc"},
    {"Hazenfuss, V", "Hasenfuss, W"},
    {"Freiman, S", "Freymann"},
    {"Von Freyman, S", "Freymann"},
    {"Blumich, M", "Bluemich"},
    {"Konig, I", "Koenig"},
    {"Gothilf, S", "Gotthilf"},
    {"Knoore, V", "Knorre"},
    {"Shrader, E", "Schrader"},
    {"Schories, G", "Shories"},
    {"Franco Ocampo, Z", "Franco Ocampos"},
    {"Von Patay, J", "Patay, G"},  // Julius is Gyula
    {"DeFirmian", "De Firmian"},
    // the mother's surname is not part of the name he played under
    {"Torre Repetto, C", "Torre"},
    // compound surnames the sources wrote without their hyphen
    {"Milner Barry", "Milner-Barry"},
    {"Vachier Lagrave", "Vachier-Lagrave"},
    {"Znosko Borovsky", "Znosko-Borovsky"},
    {"Bonch Osmolovsky", "Bonch-Osmolovsky"},
    {"Ilyin Zhenevsky", "Ilyin-Genevsky"},
    {"Dus Chotimirsky", "Duz-Khotimirsky"},
    {"Har Zvi", "Har-Zvi"},
    {"Roussel Roozmon", "Roussel-Roozmon"},
    {"Ost Hansen", "Ost-Hansen"},
};

// Comma-less names whose order neither the corpus nor the rules settle.
// Burmese names have no surname and stand whole.
const Alias kKnownNames[] = {
    {"Rudolph Smirka", "Smirka, R."},
    {"Bertram Claude Jenkines", "Jenkines, B."},
    {"Nay Oo Kyaw Tun", "Nay Oo Kyaw Tun"},
    {"Zaw Win Lay", "Zaw Win Lay"},
    {"Zaw Oo", "Zaw Oo"},
};

// Surnames that come first in a name written without a comma: Chinese,
// Vietnamese, Korean, and the Chinese of South-East Asia.
const std::set<std::string> kSurnameFirst = {
    "bu", "cao", "chan", "chen", "cheng", "deng", "ding", "dong", "du", "fang", "gao", "goh", "guo", "han",
    "he", "hou", "hu", "huang", "jiang", "jin", "li", "liang", "lim", "lin", "liu", "lu", "luo", "ma",
    "ni", "ong", "pan", "peng", "qi", "qian", "qin", "shen", "song", "sun", "tan", "tang", "teo", "tong",
    "wang", "wei", "wen", "wong", "wu", "xie", "xu", "yang", "ye", "yu", "yuan", "zeng", "zhang", "zhao",
    "zheng", "zhong", "zhou", "zhu",
    "nguyen", "tran", "le", "pham", "hoang", "huynh", "phan", "vu", "vo", "dang", "bui", "do", "ho", "ngo",
    "duong", "dao", "dinh",
    "kim", "park", "choi", "jung", "kang", "cho", "yoon"};

// Words before a surname that make one name with it ("Del Pozo").
const std::set<std::string> kParticles = {"von", "van", "de", "del", "della", "di", "da", "du", "la",
                                          "ten", "ter", "te", "dos", "das", "st", "st."};

// Words of a given name that are no name.
const std::set<std::string> kTitles = {"dr", "prof", "jr", "sr", "ii", "iii", "gm", "im", "fm", "wgm", "wim", "mr", "sir"};

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string Join(const std::vector<std::string>& words, std::size_t from, std::size_t to)
{
    std::string out;
    for (std::size_t i = from; i < to; ++i)
        out += (out.empty() ? "" : " ") + words[i];
    return out;
}

// Without a country or title in parentheses (an unclosed one ends the name),
// the digits some sources add to tell namesakes apart, and stray blanks.
std::string Clean(const std::string& raw)
{
    std::string text;
    int depth = 0;
    for (char ch : raw) {
        if (ch == '(')
            ++depth;
        else if (ch == ')')
            depth = std::max(0, depth - 1);
        else if (depth == 0 && !std::isdigit(static_cast<unsigned char>(ch)))
            text += std::isspace(static_cast<unsigned char>(ch)) ? ' ' : ch;
    }
    const auto words = Words(text);
    return Join(words, 0, words.size());
}

bool IsTitle(std::string word)
{
    if (!word.empty() && word.back() == '.')
        word.pop_back();
    return kTitles.count(Lower(word)) > 0;
}

bool IsCountry(const std::string& word)
{
    return word.size() == 3
        && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The first letter of a given name, upper-case, or empty.
std::string InitialOf(const std::string& given)
{
    if (given.empty())
        return {};
    const unsigned char first = static_cast<unsigned char>(given[0]);
    if (first < 0x80)
        return std::isalpha(first) ? std::string(1, static_cast<char>(std::toupper(first))) : std::string();
    std::size_t length = 1;
    while (length < given.size() && (static_cast<unsigned char>(given[length]) & 0xC0) == 0x80)
        ++length;
    return given.substr(0, length);
}

struct Split {
    std::string surname, initial;
};

// The comma form: "Svidler,P", "Nunn, John DM", "Ivanov,AV USA", "Bechstedt, Dr".
Split CommaForm(const std::string& text, std::size_t comma)
{
    Split s{Trim(text.substr(0, comma)), {}};
    std::vector<std::string> given;
    for (const std::string& w : Words(text.substr(comma + 1)))
        if (!IsTitle(w) && !(IsCountry(w) && !given.empty()))
            given.push_back(w);
    if (!given.empty())
        s.initial = InitialOf(given[0]);
    return s;
}

// A name without a comma, ordered by the evidence, then by the rules.
Split BareForm(std::vector<std::string> words, const NameEvidence& evidence, bool& guessed)
{
    words.erase(std::remove_if(words.begin(), words.end(), IsTitle), words.end());
    const std::size_t n = words.size();
    if (n <= 1)
        return {n ? words[0] : std::string(), {}};
    Split best;
    int bestCount = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const Split first{Join(words, 0, k), InitialOf(words[k])};
        const Split last{Join(words, n - k, n), InitialOf(words[0])};
        for (const Split& s : {first, last})
            if (const int count = evidence.Count(s.surname, s.initial); count > bestCount) {
                best = s;
                bestCount = count;
            }
    }
    if (bestCount > 0)
        return best;
    if (kSurnameFirst.count(Lower(words[0])))
        return {words[0], InitialOf(words[1])};
    if (n == 2 && kParticles.count(Lower(words[0])))
        return {Join(words, 0, n), {}};
    // "Gruenfeld Ernst F": a trailing middle initial marks the surname-first form.
    if (n >= 3 && words.back().size() <= 2 && std::isupper(static_cast<unsigned char>(words.back()[0])))
        return {words[0], InitialOf(words[1])};
    guessed = true;
    return {words[n - 1], InitialOf(words[0])};
}

const Alias* FindAlias(const Split& s)
{
    const std::string withInitial = s.surname + ", " + s.initial;
    for (const Alias& a : kAliases)
        if (a.from == withInitial || a.from == s.surname)
            return &a;
    return nullptr;
}

} // namespace

void NameEvidence::Add(const std::string& raw, int games)
{
    const std::string text = Clean(raw);
    const auto comma = text.find(',');
    if (comma == std::string::npos || text.find('/') != std::string::npos)
        return;
    const Split s = CommaForm(text, comma);
    if (!s.surname.empty())
        counts_[Lower(s.surname)][s.initial] += games;
}

int NameEvidence::Count(const std::string& surname, const std::string& initial) const
{
    const auto it = counts_.find(Lower(surname));
    if (it == counts_.end())
        return 0;
    const auto at = it->second.find(initial);
    return at == it->second.end() ? 0 : at->second;
}

PlayerName CanonicalName(const std::string& raw, const NameEvidence& evidence)
{
    PlayerName name;
    const std::string text = Clean(raw);
    std::string compact;
    for (char c : text)
        if (c != ' ')
            compact += c;
    if (compact.empty() || compact == "?" || compact == "NN") {
        name.header = "NN";
        return name;
    }
    if (compact == "N.N." || compact == "N.N") {
        name.header = "N.N.";
        return name;
    }
    if (text.find('/') != std::string::npos) {  // a consultation team
        name.header = text;
        return name;
    }
    for (const Alias& a : kKnownNames)
        if (text == a.from) {
            name.header = a.to;
            return name;
        }
    const auto comma = text.find(',');
    Split s = comma != std::string::npos ? CommaForm(text, comma) : BareForm(Words(text), evidence, name.guessed);
    if (const Alias* a = FindAlias(s)) {
        const std::string to = a->to;
        const auto toComma = to.find(',');
        s.surname = to.substr(0, toComma);
        if (toComma != std::string::npos)
            s.initial = Trim(to.substr(toComma + 1));
        name.aliased = true;
    }
    name.header = s.initial.empty() ? s.surname : s.surname + ", " + s.initial + ".";
    return name;
}

std::string HeaderSurname(const std::string& header)
{
    return header.substr(0, header.find(','));
}

std::map<std::string, std::string> ReadPlayersTable(const std::string& path)
{
    std::map<std::string, std::string> table;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto tab = line.find('\t');
        if (tab != std::string::npos)
            table[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return table;
}

std::string HeaderName(const std::string& raw, const std::string& tablePath)
{
    static std::mutex mutex;
    static std::map<std::string, std::map<std::string, std::string>> tables;
    // Kept by the absolute path: a relative one names another file once the
    // working directory changes.
    const std::string path = std::filesystem::absolute(tablePath).lexically_normal().string();
    {
        std::lock_guard lock(mutex);
        auto it = tables.find(path);
        if (it == tables.end())
            it = tables.emplace(path, ReadPlayersTable(path)).first;
        if (const auto at = it->second.find(raw); at != it->second.end())
            return at->second;
    }
    return CanonicalName(raw, NameEvidence()).header;
}

namespace {

// The player names as the candidates of `mined` spell them.
std::set<std::string> CandidateSpellings(const std::string& mined)
{
    std::set<std::string> raws;
    for (const auto& entry : std::filesystem::directory_iterator(mined)) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".tsv" || (file.rfind("candidates-", 0) != 0 && file != "confirmed.tsv"))
            continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);)
            if (const auto c = ParseCandidate(line)) {
                raws.insert(c->white);
                raws.insert(c->black);
            }
    }
    return raws;
}

// What the table says, for the one who checks it: the players written
// several ways and those the alias table names (stdout), the guessed orders
// and the counts (stderr).
struct NamesReport {
    std::map<std::string, std::vector<std::string>> spellings;  // header form: raw spellings
    std::set<std::string> aliased;
    std::vector<std::string> guessed;

    void Print(std::size_t games, std::size_t raws, const std::string& out) const
    {
        int folded = 0;
        for (const auto& [header, raw] : spellings) {
            folded += raw.size() > 1;
            if (raw.size() < 2 && !aliased.count(header))
                continue;
            std::cout << (aliased.count(header) ? "alias  " : "       ") << header << "\t";
            for (std::size_t i = 0; i < raw.size(); ++i)
                std::cout << (i ? " | " : "") << raw[i];
            std::cout << "\n";
        }
        for (const std::string& g : guessed)
            std::cerr << "names: order guessed, add an entry if wrong: " << g << "\n";
        std::cerr << "names: " << games << " games read; " << raws << " spellings, " << spellings.size() << " players ("
                  << folded << " with several spellings, " << aliased.size() << " by the alias table); "
                  << guessed.size() << " guessed; written to " << out << "\n";
    }
};

} // namespace

int CommandNames(const std::vector<std::string>& args)
{
    std::string corpus, mined = "tools/tasks/mined", out = kPlayersTable;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--mined" || args[i] == "--out") && i + 1 < args.size()) {
            std::string& value = args[i] == "--mined" ? mined : out;
            value = args[++i];  // the word after "--mined" or "--out"
        } else if (corpus.empty() && args[i].rfind("--", 0) != 0)
            corpus = args[i];
        else
            throw std::invalid_argument("names DIR [--mined DIR] [--out FILE]");
    }
    if (corpus.empty())
        throw std::invalid_argument("names needs the folder of the PGN files");

    NameEvidence evidence;
    const auto games = LoadCorpus(corpus);
    for (const CorpusGame& g : games) {
        evidence.Add(g.white);
        evidence.Add(g.black);
    }
    const std::set<std::string> raws = CandidateSpellings(mined);
    std::ostringstream table;
    table << "# Player names of the mined candidates and their header form; written by `tresolvin-tasks names`.\n";
    NamesReport report;
    for (const std::string& raw : raws) {
        const PlayerName name = CanonicalName(raw, evidence);
        table << raw << '\t' << name.header << '\n';
        report.spellings[name.header].push_back(raw);
        if (name.aliased)
            report.aliased.insert(name.header);
        if (name.guessed)
            report.guessed.push_back(raw + " -> " + name.header);
    }
    std::ofstream file(out, std::ios::binary);
    file << table.str();
    if (!file)
        throw std::runtime_error("cannot write " + out);
    report.Print(games.size(), raws.size(), out);
    return 0;
}
