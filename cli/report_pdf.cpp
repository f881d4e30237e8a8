#include "report_pdf.h"

#include "calculation_report.h"
#include "pdf_file_printer.h"
#include "report_input.h"

#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QSvgRenderer>

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

bool writeReportPdf(const QString &file, const engine::CalculationInput &input,
                    const engine::CalculationState &state, const engine::CalculationResult &result,
                    QString *error)
{
    // The page is the window's page in the user's locale: the level texts are the ones
    // the window would show there.
    const QLocale locale;
    const char separator = report::decimalSeparatorOf(locale);
    engine::CalculationState pageState = state;
    engine::CalculationResult pageResult = result;
    if (separator != '.')
        pageResult = engine::Calculate(input, pageState, separator);
    report::ReportInput page = report::makeReportInput(input, pageState, pageResult);
    page.logo = reportLogo();
    page.decimalSeparator = separator;
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
