// Renders the two settings dialogs, the about box and the links window into
// PNG files, for looking at their layout:
//   tresolvin_window_shots OUTPUT_DIRECTORY
// The settings file is read from a fresh temporary directory, so the dialogs
// show the defaults. Message boxes and URL requests are ignored.
#include "MessageBoxes.h"
#include "UrlOpener.h"
#include "about.h"
#include "baza.h"
#include "links.h"
#include "option.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

class SilentBoxes final : public MessageBoxes {
public:
    void Notice(const std::string&) override {}
    void Error(const std::string&) override {}
};

class NoOpener final : public UrlOpener {
public:
    void Open(const QUrl&) override {}
};

bool Shoot(QWidget& window, const QDir& directory, const QString& name)
{
    window.show();
    QApplication::processEvents();
    const QString path = directory.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s (%dx%d)\n", qPrintable(path), window.width(), window.height());
    window.hide();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));

    SilentBoxes boxes;
    NoOpener opener;
    TForm3 options(boxes);
    TForm5 base(boxes);
    TForm4 about(opener);
    TForm7 links(opener);

    bool ok = Shoot(options, directory, QStringLiteral("options-dialog.png"));
    ok = Shoot(base, directory, QStringLiteral("base-dialog.png")) && ok;
    ok = Shoot(about, directory, QStringLiteral("about.png")) && ok;
    ok = Shoot(links, directory, QStringLiteral("links.png")) && ok;
    return ok ? 0 : 1;
}
