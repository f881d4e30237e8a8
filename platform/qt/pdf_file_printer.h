#pragma once

#include "page_printer.h"

#include <QString>

#include <memory>

class QPdfWriter;
class QTemporaryFile;

namespace platform {

// The printer object that writes the page to a PDF file instead of paper, with Qt Gui
// alone (no print support, no print server): the page of the default printer, on the
// printable area of a common office printer. The file appears only when the page is
// complete; until then it is written beside it under a temporary name.
class PdfFilePrinter : public PagePrinter
{
public:
    explicit PdfFilePrinter(const QString &file);
    ~PdfFilePrinter() override;

    QString DeviceName() const override;

protected:
    QPagedPaintDevice *openDocument() override;
    void deliverDocument() override;
    void discardDocument() override;

private:
    QString m_file;
    std::unique_ptr<QTemporaryFile> m_spool;
    std::unique_ptr<QPdfWriter> m_writer;
};

// Puts a finished, closed file in the place of `target` in one step, so that `target`
// is either the old file or the complete new one; `target` must be a regular file or
// not exist. Returns an empty string on success, else the reason.
QString replaceFile(const QString &finished, const QString &target);

} // namespace platform
