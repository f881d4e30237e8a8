#pragma once

#include <QString>

namespace platform {

// The print server's side of a page on paper: whether a queue takes jobs now, and
// handing it a finished PDF. Both throw PrinterError when the server says no.
namespace cups_queue {

// A missing queue, a stopped server, a stopped (disabled) or rejecting queue all
// mean the page would not come out now.
void checkReady(const QString &queue);

void submitPdf(const QString &queue, const QString &pdfFile, const QString &title, int copies,
               const QString &media);

} // namespace cups_queue
} // namespace platform
