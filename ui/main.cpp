// Tresolvin: a trainer of chess tests.
//
// Start-up creates every window once, in a fixed order: the splash first,
// then the main window, the options dialog (which sets the main window's
// clock display, so it comes after it), the about box, the base dialog and
// the links window. Only the splash is shown; its "Вход" opens the main
// window.
#include "QtMessageBoxes.h"
#include "RandomSource.h"
#include "Startup.h"
#include "Unit1.h"
#include "UrlOpener.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"
#include "zastavka.h"

#include <QApplication>
#include <QFont>

int main(int argc, char* argv[])
{
    const auto app = CreateApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tresolvin"));
    // The windows are laid out in fixed pixels for an 8-point sans serif.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);

    QtMessageBoxes boxes;
    ClockRandomSource random;
    DesktopUrlOpener opener;

    TForm6 Form6;
    TForm1 Form1(boxes, random);
    Form6.SetMainWindow(&Form1);
    TForm3 Form3(boxes, &Form1, &Form1);
    TForm4 Form4(opener, &Form1);
    TForm5 Form5(boxes, &Form1, &Form1);
    TForm7 Form7(opener, &Form1);
    Form1.AttachWindows(&Form3, &Form5, &Form4, &Form7);

    Form6.show();
    return app->exec();
}
