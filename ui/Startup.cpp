#include "Startup.h"

#include "DeferredIconStyle.h"
#include "ScreenFit.h"

#include <QLibraryInfo>
#include <QTranslator>

#include <unistd.h>

#include <utility>
#include <vector>

namespace {

// Messages of the platform layer while it starts, held back until it is
// known whether the start succeeds.
std::vector<std::pair<QtMsgType, QString>> heldMessages;

void HoldWhileStarting(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        // The platform layer cannot go on; end before it aborts. Only
        // async-signal-safe calls from here on.
        static constexpr char kLine[] = "tresolvin: no graphical display could be opened; this program needs one\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, kLine, sizeof kLine - 1);
        ::_exit(1);
    }
    heldMessages.emplace_back(type, message);
}

// The interface is Russian whatever the user's locale, and so are Qt's own
// texts.
void InstallQtTranslation(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv)
{
    const QtMessageHandler previous = qInstallMessageHandler(HoldWhileStarting);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const auto& [type, message] : std::exchange(heldMessages, {}))
        previous(type, QMessageLogContext(), message);

    InstallQtTranslation(*app);
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()));
    app->installEventFilter(new ScreenFit(app.get()));
    return app;
}
