#pragma once

#include <functional>
#include <memory>

namespace platform {
class MessageBox;
class Printer;
class SystemShell;
} // namespace platform

// The outside services the window uses: the app hands in the real ones, tests
// recording ones. A factory that throws or returns null means there is no printer.
struct FormServices
{
    platform::MessageBox *messageBox = nullptr;
    platform::SystemShell *shell = nullptr;
    std::function<std::unique_ptr<platform::Printer>()> makePrinter;
};
