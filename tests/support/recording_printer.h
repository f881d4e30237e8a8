#pragma once

#include "printer.h"

#include <QList>
#include <QStringList>
#include <QVariant>

// A printer that writes down every call and keeps the print position as a real one
// would (a character 0.02 cm per point wide, a line 0.045 cm per point high), so
// tests can read back what went where.
class RecordingPrinter : public platform::Printer
{
public:
    struct Call
    {
        QString name;
        QString text; // printed, or the value set
        float x;
        float y;
        float fontSize;
    };
    static constexpr float CharWidthPerPoint = 0.02f;
    static constexpr float LineHeightPerPoint = 0.045f;

    QList<Call> calls;
    QStringList lines; // the finished lines' texts

    void setPaperSize(int code) override { record("PaperSize", code); }
    void setOrientation(int code) override { record("Orientation", code); }
    void setCopies(int copies) override { record("Copies", copies); }
    void setScaleMode(int code) override { record("ScaleMode", code); }
    void setScaleLeft(float left) override { record("ScaleLeft", left); }
    void setScaleTop(float top) override { record("ScaleTop", top); }
    void setFontName(const QString &name) override { record("FontName", name); }
    float FontSize() const override { return m_fontSize; }
    void setFontSize(float points) override
    {
        record("FontSize", points);
        m_fontSize = points;
    }
    void setFontBold(bool bold) override { record("FontBold", bold); }
    void setFontUnderline(bool on) override { record("FontUnderline", on); }
    float CurrentX() const override { return m_x; }
    void setCurrentX(float x) override { m_x = x; }
    float CurrentY() const override { return m_y; }
    void setCurrentY(float y) override { m_y = y; }
    void Print(const QString &text, bool lineEnd) override
    {
        record(lineEnd ? "PrintLine" : "Print", text);
        const QStringList pieces = text.split(QStringLiteral("\r\n"));
        for (int i = 0; i < pieces.size(); ++i) {
            m_line += pieces[i];
            m_x += TextWidth(pieces[i]);
            if (i + 1 < pieces.size() || lineEnd) {
                lines.append(m_line);
                m_line.clear();
                m_x = 0;
                m_y += LineHeightPerPoint * m_fontSize;
            }
        }
    }
    void Line(float x1, float y1, float x2, float y2) override
    {
        record("Line", QString("%1 %2 %3 %4").arg(x1).arg(y1).arg(x2).arg(y2));
    }
    void setDrawStyle(int style) override { record("DrawStyle", style); }
    void setDrawWidth(int pixels) override { record("DrawWidth", pixels); }
    void PaintPicture(const QImage &, float x, float y, float w, float h) override
    {
        record("PaintPicture", QString("%1 %2 %3 %4").arg(x).arg(y).arg(w).arg(h));
    }
    float TextWidth(const QString &text) override { return text.size() * CharWidthPerPoint * m_fontSize; }
    QString DeviceName() const override { return QStringLiteral("Recorder"); }
    void EndDoc() override { record("EndDoc", 0); }
    void KillDoc() override { record("KillDoc", 0); }

private:
    void record(const char *name, const QVariant &value)
    {
        calls.append({name, value.toString(), m_x, m_y, m_fontSize});
    }

    QString m_line;
    float m_x = 0, m_y = 0, m_fontSize = 10;
};
