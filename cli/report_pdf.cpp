#include "report_pdf.h"

#include "calculation_report.h"
#include "pdf_file_printer.h"
#include "report_input.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstring>

namespace cli {

namespace {

// The black logo the window's Picture1 holds, drawn as fine as the window prints it.
QImage reportLogo()
{
    QImage logo(report::LogoSize * report::LogoPrintScale, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/logo_black.svg"));
    QPainter painter(&logo);
    renderer.render(&painter);
    return logo;
}

} // namespace

bool wantsPdf(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *form : {"--pdf", "-pdf"}) {
            const std::size_t n = std::strlen(form);
            if (std::strncmp(arg, form, n) == 0 && (arg[n] == '\0' || arg[n] == '='))
                return true;
        }
    }
    return false;
}

bool writeReportPdf(const QString &file, const engine::CalculationInput &input,
                    const engine::CalculationState &state, const engine::CalculationResult &result,
                    QString *error)
{
    report::ReportInput page = report::makeReportInput(input, state, result);
    page.logo = reportLogo();
    page.decimalSeparator = '.';
    page.printedAt = QDateTime::currentDateTime();

    platform::PdfFilePrinter printer(file);
    if (report::printCalculationReport(page, printer, nullptr))
        return true;
    if (error) {
        *error = printer.fileError().isEmpty()
            ? QStringLiteral("Het rapport voor '%1' kon niet worden opgemaakt.").arg(file)
            : printer.fileError();
    }
    return false;
}

} // namespace cli
