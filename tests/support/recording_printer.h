#pragma once

#include "printer.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// A printer on paper of the imagination: it keeps the print position as a real one
// would (every character 0.02 cm per point wide, a line 0.045 cm per point high) and
// writes down every call, so tests can read back what went where. It can be told to
// fail at a chosen call, as a printer that runs out of paper half-way.
class RecordingPrinter : public platform::Printer
{
public:
    struct Call
    {
        QString name;  // the operation, e.g. "Print", "Line", "FontSize"
        QString text;  // printed text or the value set
        float x = 0, y = 0, x2 = 0, y2 = 0;
        float fontSize = 0;
        bool bold = false, underline = false;
    };

    static constexpr float CharWidthPerPoint = 0.02f;
    static constexpr float LineHeightPerPoint = 0.045f;

    void setPaperSize(int code) override { record("PaperSize", QString::number(code)); }
    void setOrientation(int code) override { record("Orientation", QString::number(code)); }
    void setCopies(int copies) override { record("Copies", QString::number(copies)); }
    void setScaleMode(int code) override { record("ScaleMode", QString::number(code)); }
    void setScaleLeft(float left) override { record("ScaleLeft", QString::number(left)); }
    void setScaleTop(float top) override { record("ScaleTop", QString::number(top)); }

    void setFontName(const QString &name) override { record("FontName", name); }
    float FontSize() const override { return m_fontSize; }
    void setFontSize(float points) override
    {
        record("FontSize", QString::number(points));
        m_fontSize = points;
    }
    void setFontBold(bool bold) override
    {
        record("FontBold", QString::number(bold));
        m_bold = bold;
    }
    void setFontUnderline(bool underline) override
    {
        record("FontUnderline", QString::number(underline));
        m_underline = underline;
    }

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
            m_line += pieces.at(i);
            m_x += TextWidth(pieces.at(i));
        }
        if (lineEnd)
            newLine();
    }
    void Line(float x1, float y1, float x2, float y2) override
    {
        record("Line", QString::number(m_drawWidth), x1, y1, x2, y2);
        m_x = x2;
        m_y = y2;
    }
    void setDrawStyle(int style) override { record("DrawStyle", QString::number(style)); }
    void setDrawWidth(int pixels) override
    {
        record("DrawWidth", QString::number(pixels));
        m_drawWidth = pixels;
    }
    void PaintPicture(const QImage &picture, float x, float y, float width, float height) override
    {
        record("PaintPicture", QString::number(picture.width()), x, y, width, height);
    }
    float TextWidth(const QString &text) override
    {
        return text.size() * CharWidthPerPoint * m_fontSize;
    }
    QString DeviceName() const override { return deviceName; }
    void EndDoc() override { record("EndDoc", QString()); }
    void KillDoc() override { record("KillDoc", QString()); }

    // The texts of the finished lines, in order.
    QStringList lines;
    QList<Call> calls;
    QString deviceName = QStringLiteral("Recorder");
    int failAtCall = -1;  // the index in calls of the operation that throws
    bool failAbandoning = false; // KillDoc and EndDoc throw once something failed

    int count(const QString &name) const
    {
        int n = 0;
        for (const Call &call : calls)
            n += call.name == name;
        return n;
    }

private:
    void record(const QString &name, const QString &text, float x = -1, float y = -1,
                float x2 = -1, float y2 = -1)
    {
        const bool abandoning = name == "KillDoc" || name == "EndDoc";
        if (x < 0 && y < 0) {
            x = m_x;
            y = m_y;
        }
        calls.append({name, text, x, y, x2, y2, m_fontSize, m_bold, m_underline});
        if (abandoning && failAbandoning && m_failed)
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
    float m_x = 0, m_y = 0;
    float m_fontSize = 10;
    bool m_bold = false, m_underline = false;
    int m_drawWidth = 1;
    bool m_failed = false;
};
