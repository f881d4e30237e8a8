#pragma once

#include "page_printer.h"

#include <QString>

#include <memory>

class QPrinter;
class QTemporaryFile;

namespace platform {

// The printer object of "Print": the page on the printable area of the system's default
// printer, spooled as PDF and handed to that printer's CUPS queue at EndDoc.
class QtPrinter : public PagePrinter
{
public:
    QtPrinter(); // bound to the default printer of this moment
    ~QtPrinter() override;

    QString DeviceName() const override;

protected:
    QPagedPaintDevice *openDocument() override;
    void deliverDocument() override;
    void discardDocument() override;

private:
    // The page is drawn into a spool file first: Qt cannot abandon a page once begun
    // (QPrinter::abort does nothing for PDF and CUPS output), so KillDoc throws the
    // spool file away and EndDoc hands it to the queue.
    QString m_queue;
    std::unique_ptr<QTemporaryFile> m_spool;
    std::unique_ptr<QPrinter> m_printer;
};

// The printer object of "Print": the system's default printer.
std::unique_ptr<Printer> makeDefaultPrinter();

} // namespace platform
