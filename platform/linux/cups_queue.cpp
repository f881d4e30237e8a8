#include "cups_queue.h"

#include "loaded_library.h"
#include "printer.h"

#include <cups/cups.h>

#include <string>

namespace platform::cups_queue {

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw PrinterError(what.toStdString());
}

// CUPS's client library, opened at the first print.
struct Cups
{
    LoadedLibrary library {"libcups.so.2"};
    decltype(&cupsGetNamedDest) getNamedDest =
        library.function<decltype(&cupsGetNamedDest)>("cupsGetNamedDest");
    decltype(&cupsFreeDests) freeDests = library.function<decltype(&cupsFreeDests)>("cupsFreeDests");
    decltype(&cupsGetOption) getOption = library.function<decltype(&cupsGetOption)>("cupsGetOption");
    decltype(&cupsAddOption) addOption = library.function<decltype(&cupsAddOption)>("cupsAddOption");
    decltype(&cupsFreeOptions) freeOptions = library.function<decltype(&cupsFreeOptions)>("cupsFreeOptions");
    decltype(&cupsPrintFile) printFile = library.function<decltype(&cupsPrintFile)>("cupsPrintFile");
    decltype(&cupsLastErrorString) lastErrorString =
        library.function<decltype(&cupsLastErrorString)>("cupsLastErrorString");

    bool complete() const
    {
        return getNamedDest && freeDests && getOption && addOption && freeOptions && printFile
            && lastErrorString;
    }
};

const Cups &cups()
{
    static const Cups loaded;
    if (!loaded.complete())
        fail(QStringLiteral("the print system's library (libcups.so.2) is not available"));
    return loaded;
}

} // namespace

void checkReady(const QString &queue)
{
    const Cups &c = cups();
    const QByteArray name = queue.toLocal8Bit();
    cups_dest_t *dest = c.getNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        fail(QStringLiteral("printer %1 is not available: %2").arg(queue, c.lastErrorString()));
    const char *stateOption = c.getOption("printer-state", dest->num_options, dest->options);
    const std::string state = stateOption ? stateOption : "";
    const char *accepting = c.getOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool rejecting = accepting && std::string(accepting) == "false";
    c.freeDests(1, dest);
    // IPP printer-state 5 is "stopped": a job would wait in the queue and come out
    // whenever someone restarts it, long after the user has walked away.
    if (state == "5")
        fail(QStringLiteral("printer %1 is stopped").arg(queue));
    if (rejecting)
        fail(QStringLiteral("printer %1 does not accept jobs").arg(queue));
}

void submitPdf(const QString &queue, const QString &pdfFile, const QString &title, int copies,
               const QString &media)
{
    const Cups &c = cups();
    int optionCount = 0;
    cups_option_t *options = nullptr;
    optionCount = c.addOption("copies", std::to_string(copies).c_str(), optionCount, &options);
    optionCount = c.addOption("media", media.toLatin1().constData(), optionCount, &options);
    const int job = c.printFile(queue.toLocal8Bit().constData(), pdfFile.toLocal8Bit().constData(),
                                title.toUtf8().constData(), optionCount, options);
    c.freeOptions(optionCount, options);
    if (job == 0)
        fail(QStringLiteral("printer %1 refused the page: %2").arg(queue, c.lastErrorString()));
}

} // namespace platform::cups_queue
