#pragma once

#include <QTranslator>

namespace cli {

// Puts QCommandLineParser's own complaints (unknown option, missing or unexpected value)
// into Dutch, so that every message of the program is Dutch and names the option as typed.
class ParserMessages : public QTranslator
{
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace cli
