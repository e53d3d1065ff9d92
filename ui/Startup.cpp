#include "Startup.h"

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

} // namespace

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv)
{
    const QtMessageHandler previous = qInstallMessageHandler(HoldWhileStarting);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const auto& [type, message] : std::exchange(heldMessages, {}))
        previous(type, QMessageLogContext(), message);
    return app;
}
