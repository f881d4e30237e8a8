#pragma once

#include <QImage>
#include <QString>

#include <stdexcept>

namespace platform {

// Raised by a printer that cannot start or carry on (no printer, a stopped print
// server, a painter that will not begin); the report abandons its page on it.
class PrinterError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Paper sizes, orientations and scale modes as the report sets them on the printer.
enum PaperSizeCode : int { vbPRPSLetter = 1, vbPRPSLegal = 5, vbPRPSA3 = 8, vbPRPSA4 = 9, vbPRPSA5 = 11 };
enum OrientationCode : int { vbPRORPortrait = 1, vbPRORLandscape = 2 };
enum ScaleModeCode : int { vbTwips = 1, vbPoints = 2, vbInches = 5, vbMillimeters = 6, vbCentimeters = 7 };

// The page-composing printer object the report is written against: a scale in
// centimetres, a print position (CurrentX, CurrentY; y grows downwards), fonts, text,
// lines and pictures. The document begins with the first output and ends at EndDoc
// or KillDoc. Every operation may throw PrinterError.
class Printer
{
public:
    virtual ~Printer() = default;

    virtual void setPaperSize(int code) = 0;   // a PaperSizeCode
    virtual void setOrientation(int code) = 0; // an OrientationCode
    virtual void setCopies(int copies) = 0;
    virtual void setScaleMode(int code) = 0; // a ScaleModeCode
    virtual void setScaleLeft(float left) = 0;
    virtual void setScaleTop(float top) = 0;

    virtual void setFontName(const QString &name) = 0;
    virtual float FontSize() const = 0;
    virtual void setFontSize(float points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual void setFontUnderline(bool underline) = 0;

    virtual float CurrentX() const = 0;
    virtual void setCurrentX(float x) = 0;
    virtual float CurrentY() const = 0;
    virtual void setCurrentY(float y) = 0;

    // Draws text from the print position and leaves CurrentX after it; with lineEnd
    // the position moves to x = 0, one line height of the current font lower. A CR LF
    // inside the text is a line break; a tab advances to the next tab stop.
    virtual void Print(const QString &text, bool lineEnd) = 0;
    virtual void Line(float x1, float y1, float x2, float y2) = 0; // black
    virtual void setDrawStyle(int style) = 0;
    virtual void setDrawWidth(int pixels) = 0;
    virtual void PaintPicture(const QImage &picture, float x, float y, float width, float height) = 0;
    virtual float TextWidth(const QString &text) = 0;
    virtual QString DeviceName() const = 0;
    virtual void EndDoc() = 0;
    virtual void KillDoc() = 0;
};

} // namespace platform
