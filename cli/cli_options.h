#pragma once

#include "calculate.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class QCommandLineParser;

namespace cli {

// The options that describe one calculation (--B ... --heights, --indoor, --compact,
// --screen) with the window's design values as defaults and the method's ranges. Other
// options of the program (output form, help, later ones) are declared next to these on
// the same parser.
class CalculationOptions
{
public:
    CalculationOptions();

    void addTo(QCommandLineParser &parser) const;

    // Reads the parsed values over the defaults. Returns false with a one-line Dutch
    // message naming the option when a value is not a number, lies outside its range or
    // the heights are not five.
    bool read(const QCommandLineParser &parser, engine::CalculationInput &input, QString &error) const;

    const QList<QCommandLineOption> &options() const { return m_options; }

private:
    QList<QCommandLineOption> m_options;
};

// Whether the assessment points lie between the pile and its screen, where the method
// has no answer (the window moves such a point to the screen).
bool pointBeforeScreen(const engine::CalculationInput &input);

// The refusal of such a point, naming both distances.
QString pointBeforeScreenMessage(const engine::CalculationInput &input);

// The program's Dutch help text for the given options: "--" before every name except
// the single-letter "-h" (QCommandLineParser would write one-letter names such as B with
// a single dash, which this program reads as long options too).
QString helpText(const QString &program, const QList<QCommandLineOption> &options);

} // namespace cli
