#include "Hints.h"

#include "HintCatalogue.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

using fullchess::Position;

namespace {

const std::map<Motif, const char*>& MotifNames()
{
    static const std::map<Motif, const char*> names = {
        {Motif::None, "—"},
        {Motif::Mate, "мат"},
        {Motif::MatingAttack, "матовая атака"},
        {Motif::Sacrifice, "жертва"},
        {Motif::Fork, "двойной удар / вилка"},
        {Motif::Pin, "связка"},
        {Motif::DiscoveredAttack, "вскрытое нападение"},
        {Motif::DiscoveredCheck, "вскрытый шах"},
        {Motif::DoubleCheck, "двойной шах"},
        {Motif::Deflection, "отвлечение"},
        {Motif::Decoy, "завлечение"},
        {Motif::Interference, "перекрытие"},
        {Motif::RemovalOfDefender, "уничтожение защиты"},
        {Motif::Overload, "перегрузка"},
        {Motif::Intermezzo, "промежуточный ход"},
        {Motif::Clearance, "освобождение поля или линии"},
        {Motif::Trap, "ловля фигуры"},
        {Motif::Breakthrough, "прорыв"},
        {Motif::PassedPawn, "проходная пешка"},
        {Motif::Perpetual, "вечный шах"},
        {Motif::Stalemate, "пат"},
        {Motif::MaterialWin, "выигрыш материала"},
        {Motif::ActiveKing, "активный король"},
        {Motif::Zugzwang, "цугцванг"},
        {Motif::Plan, "план"},
    };
    return names;
}

} // namespace

const char* MotifName(Motif motif)
{
    const auto it = MotifNames().find(motif);
    return it == MotifNames().end() ? "?" : it->second;
}

Motif MotifNamed(const std::string& name)
{
    for (const auto& [motif, text] : MotifNames())
        if (name == text)
            return motif;
    return Motif::None;
}

bool IsDevice(Motif motif)
{
    return motif != Motif::None && motif != Motif::MatingAttack && motif != Motif::MaterialWin && motif != Motif::Plan
        && motif != Motif::ActiveKing && motif != Motif::Zugzwang;
}

// ---- The hints written by hand.

namespace {

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

std::vector<HandWrittenHint>& HandWritten()
{
    static std::vector<HandWrittenHint> hints;
    return hints;
}

} // namespace

std::vector<HandWrittenHint> ReadWrittenByHand(const std::filesystem::path& file)
{
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::vector<HandWrittenHint> hints;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        // placement, tokens, motif, hint, reason
        const auto fields = Fields(line);
        const bool exchange = fields.size() == 5 && fields[2] == kExchangeTerm;
        const Motif motif = exchange ? Motif::Plan : fields.size() == 5 ? MotifNamed(fields[2]) : Motif::None;
        if (fields.size() != 5 || (motif == Motif::None && fields[2] != MotifName(Motif::None)) || fields[3].empty())
            throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": expected placement, tokens, motif, hint, reason");
        hints.push_back({fields[0], std::stoi(fields[1]), {fields[3], motif, exchange ? kEntryByHandExchange : kEntryByHand}, fields[4]});
    }
    return hints;
}

void LoadWrittenByHand(const std::filesystem::path& file)
{
    HandWritten() = std::filesystem::exists(file) ? ReadWrittenByHand(file) : std::vector<HandWrittenHint>{};
}

const Hint* WrittenByHand(const Candidate& c, int tokens)
{
    return WrittenByHandAt(c.fen.substr(0, c.fen.find(' ')), tokens);
}

const Hint* WrittenByHandAt(const std::string& placement, int tokens)
{
    for (const HandWrittenHint& h : HandWritten())
        if (placement == h.placement && tokens == h.tokens)
            return &h.hint;
    return nullptr;
}

// ---- Where the compiled hints came from.

const HintOrigin& HintOriginOf(const std::string& collection, int number)
{
    static const std::map<std::pair<std::string, int>, HintOrigin> origins = [] {
        std::map<std::pair<std::string, int>, HintOrigin> read;
        std::ifstream in(kProvenancePath);
#ifdef TRESOLVIN_SOURCE_DIR
        if (!in)  // not run from the source tree: the tree the tool was built from
            in.open(std::filesystem::path(TRESOLVIN_SOURCE_DIR) / kProvenancePath);
#endif
        std::string line;
        std::getline(in, line);  // the column names
        while (std::getline(in, line)) {
            const auto fields = Fields(line);
            if (fields.size() >= 10)
                read[{fields[0], std::stoi(fields[1])}] = {MotifNamed(fields[8]), fields[9]};
        }
        return read;
    }();
    static const HintOrigin unknown;
    const auto it = origins.find({collection, number});
    return it == origins.end() ? unknown : it->second;
}

// ---- The interpreter of the catalogue.

namespace {

// The parts of the reading that speak for this line, in order.
std::vector<HintPart> PartsFor(const Candidate& c, const LineFacts& facts, bool drawTest)
{
    using enum HintPart;
    if (drawTest)
        return {facts.story.stalemate ? Stalemate : facts.story.perpetual ? Perpetual : DrawSaved};
    if (c.kind == TaskKind::Strategy)
        return facts.cut.moves.empty() ? std::vector<HintPart>{} : std::vector<HintPart>{Plan, PlanGeneral};
    if (facts.story.mates)
        return {Mate, MateDevice};
    return {Attack, Promotion, PassedPush, ActiveKing, Device, MaterialWon, TacticGeneral};
}

bool PerDevice(HintPart part) { return part == HintPart::MateDevice || part == HintPart::Device; }
bool General(HintPart part) { return part == HintPart::TacticGeneral || part == HintPart::PlanGeneral; }

struct Offering {
    const LineFacts& facts;
    std::vector<std::string> moves;  // the stored line
    int said = 0;                    // entries whose guards let them be said
    std::vector<Hint> out;

    // The entry's hint, where it holds, does not give the move away, and the
    // judge accepts its words; the same text twice is one hint.
    void Offer(const HintEntry& entry, const Found& found)
    {
        if (!entry.holds(facts, found) || (entry.givesAway && entry.givesAway(facts.root, facts.first)))
            return;
        ++said;
        Hint hint{entry.phrase(facts, found), entry.motif, entry.name};
        if (!HintProblems(hint.text, facts.root, moves, entry.name).empty())
            return;
        if (std::none_of(out.begin(), out.end(), [&](const Hint& h) { return h.text == hint.text; }))
            out.push_back(std::move(hint));
    }

    void OfferPart(HintPart part)
    {
        if (General(part) && said > 0)
            return;
        static const Found none;
        for (const Found& found : PerDevice(part) ? facts.story.found : std::vector<Found>{none})
            for (const HintEntry& entry : HintCatalogue())
                if (entry.part == part && (!PerDevice(part) || entry.device == found.motif))
                    Offer(entry, found);
    }
};

} // namespace

std::vector<Hint> HintVariants(const Candidate& c, int tokens, bool drawTest)
{
    const auto root = Position::FromFen(c.fen);
    if (!root || c.line.moves.empty())
        return {{"Найдите сильнейшее продолжение.", Motif::None, "general.strongest"}};
    const LineStory story = ReadStory(c, tokens);
    const LineFacts facts = ReadFacts(c, tokens, *root, story);
    const auto cut = std::min<std::size_t>(static_cast<std::size_t>(std::max(tokens, 0)), c.line.moves.size());
    Offering offering{facts, {c.line.moves.begin(), c.line.moves.begin() + static_cast<long>(cut)}, 0, {}};
    for (HintPart part : PartsFor(c, facts, drawTest))
        offering.OfferPart(part);
    return offering.out;
}
