#pragma once
// Start-up of the windowing layer: the application object and what every
// window of the program relies on.
//
// Without a display the platform layer gives up with a fatal message and
// aborts the process, which may leave a core dump. Here the program instead
// writes one line to standard error, saying that it needs a graphical
// display, and ends with exit status 1. Messages of the platform layer
// from a start-up that succeeds are passed on unchanged.
//
// Once the application exists, CreateApplication also
// - installs Qt's own Russian translation (qtbase_ru from Qt's translations
//   folder, QLibraryInfo::TranslationsPath; Debian: qt6-translations-l10n),
//   so the standard buttons of message boxes and the like read in Russian;
//   without it they stay English;
// - sets the application's style to a DeferredIconStyle over the default
//   one, so that creating the windows loads no image format plugin;
// - installs a ScreenFit on the application: every window is kept on its
//   screen when shown.
#include <QApplication>

#include <memory>

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);
