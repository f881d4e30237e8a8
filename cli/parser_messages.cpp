#include "parser_messages.h"

#include <cstring>

namespace cli {

QString ParserMessages::translate(const char *context, const char *sourceText, const char *disambiguation,
                                  int n) const
{
    Q_UNUSED(disambiguation);
    Q_UNUSED(n);
    if (!context || !sourceText || std::strcmp(context, "QCommandLineParser") != 0)
        return {};
    // The parser passes unknown names without their dashes; the user typed them with.
    static const struct
    {
        const char *english;
        const char *dutch;
    } kTexts[] = {
        {"Unknown option '%1'.", "Onbekende optie '--%1'."},
        {"Unknown options: %1.", "Onbekende opties: %1."},
        {"Missing value after '%1'.", "Ontbrekende waarde na '%1'."},
        {"Unexpected value after '%1'.", "Optie '%1' neemt geen waarde."},
    };
    for (const auto &text : kTexts) {
        if (std::strcmp(sourceText, text.english) == 0)
            return QString::fromUtf8(text.dutch);
    }
    return {};
}

} // namespace cli
