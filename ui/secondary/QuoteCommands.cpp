#include "QuoteCommands.h"

#include "MessageBoxes.h"
#include "RandomSource.h"
#include "UnitGulmar.h"
#include "Unitcitata.h"

void ShowChessQuote(RandomSource& random, MessageBoxes& boxes)
{
    random.Reseed();
    const int32_t number = random.Below(Tcitata::Count);
    Tcitata entry;
    entry.LoadQuote(number);
    boxes.Notice(QuoteMessage(entry));
}

void ShowGulmarComment(RandomSource& random, MessageBoxes& boxes)
{
    random.Reseed();
    const int32_t number = random.Below(TGulmar::Count);
    TGulmar entry;
    entry.LoadQuote(number);
    boxes.Notice(CommentMessage(entry));
}
