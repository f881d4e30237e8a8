#pragma once

class QLocale;

// Qt's own translation of its standard texts (the buttons of message boxes read "Ja",
// "Nee" and "OK" under a Dutch locale), installed in the running application. False
// when the machine has no translation for the locale's language: the texts then stay
// English.
bool installStandardTexts(const QLocale &locale);
