#include "QuoteCommands.h"

#include "MessageBoxes.h"
#include "RandomSource.h"
#include "UnitGulmar.h"
#include "Unitcitata.h"

#include <QString>

void ShowChessQuote(QWidget* parent, RandomSource& random, MessageBoxes& boxes)
{
    random.Reseed();
    const int32_t number = random.Below(Tcitata::Count);
    Tcitata entry;
    entry.LoadQuote(number);
    boxes.Notice(parent, QString::fromStdString(QuoteMessage(entry)));
}

void ShowGulmarComment(QWidget* parent, RandomSource& random, MessageBoxes& boxes)
{
    random.Reseed();
    const int32_t number = random.Below(TGulmar::Count);
    TGulmar entry;
    entry.LoadQuote(number);
    boxes.Notice(parent, QString::fromStdString(CommentMessage(entry)));
}
