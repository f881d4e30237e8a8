#pragma once

// The window's own Dutch texts that are not captions of the control table.
namespace form_texts {

inline constexpr char WindowCaption[] = "Veldoc Bepalingsmethode Warmtegloedvracht Versie 1.0  2003";
inline constexpr char InputErrorTitle[] = "Invoerfout";

// Input-error messages: first line, line feed, carriage return, second line.
inline constexpr char PointCloserThanScreen[] =
    "De afstand van de opslag tot het beoordelingspunt\n\ris kleiner dan de afstand tot de afscherming";
inline constexpr char ScreenTooFar[] = "De afstand tussen het scherm en de opslag \n\ris te groot";
inline constexpr char EfficiencyOutOfRange[] = "De efficiency van het scherm is een getal\n\rtussen 0 en 1";

} // namespace form_texts
