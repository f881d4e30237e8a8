#pragma once

#include "calculate.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;

namespace cli {

// The options that describe one calculation (--B ... --heights, --indoor, --compact,
// --screen) with the window's design values as defaults. Other options of the program
// (output form, help, later ones) are declared next to these on the same parser.
class CalculationOptions
{
public:
    CalculationOptions();

    void addTo(QCommandLineParser &parser) const;

    // Reads the parsed values over the defaults. Returns false with a one-line Dutch
    // message naming the option when a value is not a number or the heights are not five.
    bool read(const QCommandLineParser &parser, engine::CalculationInput &input, QString &error) const;

    const QList<QCommandLineOption> &options() const { return m_options; }

private:
    QList<QCommandLineOption> m_options;
};

// The program's Dutch help text for the given options, with "--" before every name
// (QCommandLineParser would write one-letter names such as B with a single dash).
QString helpText(const QString &program, const QList<QCommandLineOption> &options);

// Reads a number written with a decimal point; rejects group separators, text and
// infinities.
bool parseNumber(const QString &text, double &value);

} // namespace cli
