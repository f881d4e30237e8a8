#include "application_look.h"

#include <QApplication>

namespace widgets {

QFont windowFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    return font;
}

void applyApplicationLook()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(windowFont());
}

} // namespace widgets
