#include "csv_writer.h"

#include "program_output.h"

#include <charconv>
#include <cmath>

namespace cli {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

} // namespace

CsvWriter::CsvWriter()
{
    m_buffer.reserve(kBufferSize + 64);
}

CsvWriter::~CsvWriter()
{
    flush();
}

void CsvWriter::separate()
{
    if (m_rowStarted)
        m_buffer.push_back(',');
    m_rowStarted = true;
}

void CsvWriter::number(double value)
{
    separate();
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value == 0 ? 0.0 : value);
    m_buffer.append(text, written.ptr);
}

void CsvWriter::level(double wattPerSquareMetre)
{
    if (!std::isfinite(wattPerSquareMetre))
        empty();
    else
        number(wattPerSquareMetre < 0 ? 0.0 : wattPerSquareMetre / 1000);
}

void CsvWriter::empty()
{
    separate();
}

void CsvWriter::text(std::string_view text)
{
    separate();
    m_buffer.append(text);
}

void CsvWriter::endRow()
{
    m_buffer.push_back('\n');
    m_rowStarted = false;
    if (m_buffer.size() >= kBufferSize)
        flush();
}

void CsvWriter::flush()
{
    writeOut(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

} // namespace cli
