#pragma once

#include <string>
#include <string_view>

namespace cli {

// The rows of a big table, written as they come through a large buffer: numbers in the
// shortest text that reads back as the same double (std::to_chars), a decimal point,
// commas between fields. Everything goes to the program's answer (writeOut).
class CsvWriter
{
public:
    CsvWriter();
    ~CsvWriter();
    CsvWriter(const CsvWriter &) = delete;
    CsvWriter &operator=(const CsvWriter &) = delete;

    // A value; zero is written without a sign.
    void number(double value);
    // A level in W/m² as kW/m²: empty when it is not a finite number (a point the method cannot
    // compute), 0 for a level below zero that only rounding put there.
    void level(double wattPerSquareMetre);
    void empty();
    void text(std::string_view text);
    void endRow();

    // Hands the rest of the buffer over.
    void flush();

private:
    void separate();

    std::string m_buffer;
    bool m_rowStarted = false;
};

} // namespace cli
