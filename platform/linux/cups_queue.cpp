#include "cups_queue.h"

#include "printer.h"

#include <cups/cups.h>

#include <string>

namespace platform::cups_queue {

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw PrinterError(what.toStdString());
}

} // namespace

void checkReady(const QString &queue)
{
    const QByteArray name = queue.toLocal8Bit();
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        fail(QStringLiteral("printer %1 is not available: %2").arg(queue, cupsLastErrorString()));
    const char *stateOption = cupsGetOption("printer-state", dest->num_options, dest->options);
    const std::string state = stateOption ? stateOption : "";
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool rejecting = accepting && std::string(accepting) == "false";
    cupsFreeDests(1, dest);
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
    int optionCount = 0;
    cups_option_t *options = nullptr;
    optionCount = cupsAddOption("copies", std::to_string(copies).c_str(), optionCount, &options);
    optionCount = cupsAddOption("media", media.toLatin1().constData(), optionCount, &options);
    const int job = cupsPrintFile(queue.toLocal8Bit().constData(), pdfFile.toLocal8Bit().constData(),
                                  title.toUtf8().constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0)
        fail(QStringLiteral("printer %1 refused the page: %2").arg(queue, cupsLastErrorString()));
}

} // namespace platform::cups_queue
