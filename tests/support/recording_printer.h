#pragma once

#include "printer.h"

#include <QList>
#include <QStringList>
#include <QVariant>

#include <algorithm>

// A printer that writes down every call and keeps the print position as a real one
// would (each character 0.02 cm per point wide, a line 0.045 cm per point high), so
// tests can read back what went where. It can be told to fail at a chosen call.
class RecordingPrinter : public platform::Printer
{
public:
    struct Call
    {
        QString name, text; // operation and printed text or value set
        float x, y;         // print position, or where a line or picture starts
        float fontSize;
        bool bold, underline;
    };
    static constexpr float CharWidthPerPoint = 0.02f;
    static constexpr float LineHeightPerPoint = 0.045f;

    QList<Call> calls;
    QStringList lines; // the finished lines' texts
    QString deviceName = QStringLiteral("Recorder");
    int failAtCall = -1;         // index in calls of the operation that throws
    bool failAbandoning = false; // KillDoc and EndDoc throw too after that

    int count(const QString &name) const
    {
        return int(std::count_if(calls.cbegin(), calls.cend(), [&](const Call &c) { return c.name == name; }));
    }

    void setPaperSize(int code) override { record("PaperSize", code); }
    void setOrientation(int code) override { record("Orientation", code); }
    void setCopies(int copies) override { record("Copies", copies); }
    void setScaleMode(int code) override { record("ScaleMode", code); }
    void setScaleLeft(float left) override { record("ScaleLeft", left); }
    void setScaleTop(float top) override { record("ScaleTop", top); }
    void setFontName(const QString &name) override { record("FontName", name); }
    float FontSize() const override { return m_fontSize; }
    void setFontSize(float points) override { record("FontSize", points), m_fontSize = points; }
    void setFontBold(bool bold) override { record("FontBold", bold), m_bold = bold; }
    void setFontUnderline(bool on) override { record("FontUnderline", on), m_underline = on; }
    float CurrentX() const override { return m_x; }
    void setCurrentX(float x) override { m_x = x; }
    float CurrentY() const override { return m_y; }
    void setCurrentY(float y) override { m_y = y; }

    void Print(const QString &text, bool lineEnd) override
    {
        record(lineEnd ? "PrintLine" : "Print", text);
        const QStringList pieces = text.split(QStringLiteral("\r\n"));
        for (int i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                newLine();
            m_line += pieces[i];
            m_x += TextWidth(pieces[i]);
        }
        if (lineEnd)
            newLine();
    }
    void Line(float x1, float y1, float x2, float y2) override
    {
        m_x = x1, m_y = y1;
        record("Line", QStringLiteral("%1 to %2 width %3").arg(x2).arg(y2).arg(m_drawWidth));
        m_x = x2, m_y = y2;
    }
    void setDrawStyle(int style) override { record("DrawStyle", style); }
    void setDrawWidth(int pixels) override { record("DrawWidth", pixels), m_drawWidth = pixels; }
    void PaintPicture(const QImage &, float x, float y, float width, float height) override
    {
        const float keptX = m_x, keptY = m_y;
        m_x = x, m_y = y;
        record("PaintPicture", QStringLiteral("%1 x %2").arg(width).arg(height));
        m_x = keptX, m_y = keptY;
    }
    float TextWidth(const QString &text) override { return text.size() * CharWidthPerPoint * m_fontSize; }
    QString DeviceName() const override { return deviceName; }
    void EndDoc() override { record("EndDoc", QString()); }
    void KillDoc() override { record("KillDoc", QString()); }

private:
    template <typename Value>
    void record(const QString &name, const Value &value)
    {
        calls.append({name, QVariant(value).toString(), m_x, m_y, m_fontSize, m_bold, m_underline});
        if (m_failed && failAbandoning && (name == "KillDoc" || name == "EndDoc"))
            throw platform::PrinterError("printer gone while abandoning");
        if (calls.size() - 1 == failAtCall) {
            m_failed = true;
            throw platform::PrinterError("printer failed");
        }
    }
    void newLine()
    {
        lines.append(m_line);
        m_line.clear();
        m_x = 0;
        m_y += LineHeightPerPoint * m_fontSize;
    }

    QString m_line;
    float m_x = 0, m_y = 0, m_fontSize = 10;
    bool m_bold = false, m_underline = false, m_failed = false;
    int m_drawWidth = 1;
};
