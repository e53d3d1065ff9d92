#pragma once
// Start-up of the windowing layer.
//
// Without a display the platform layer gives up with a fatal message and
// aborts the process, which may leave a core dump. Here the program instead
// writes one line to standard error, saying that it needs a graphical
// display, and ends with exit status 1. Messages of the platform layer
// from a start-up that succeeds are passed on unchanged.
#include <QApplication>

#include <memory>

std::unique_ptr<QApplication> CreateApplication(int& argc, char** argv);
