#pragma once

#include "page_printer.h"

#include <QBuffer>
#include <QString>

#include <memory>

class QPdfWriter;

namespace platform {

// The printer object that writes the page to a PDF file instead of paper, with Qt Gui
// alone (no print support, no print server): the page of the default printer, on the
// printable area of a common office printer. The document is composed in memory and
// written by SafeFile at EndDoc, so the file is either the old one or the whole report.
class PdfFilePrinter : public PagePrinter
{
public:
    explicit PdfFilePrinter(const QString &file);
    ~PdfFilePrinter() override;

    QString DeviceName() const override;

    // Why the file could not be written (one Dutch line naming it); empty otherwise.
    QString fileError() const { return m_fileError; }

protected:
    QPagedPaintDevice *openDocument() override;
    void deliverDocument() override;
    void discardDocument() override;

private:
    QString m_file;
    QString m_fileError;
    QBuffer m_document;
    std::unique_ptr<QPdfWriter> m_writer;
};

} // namespace platform
