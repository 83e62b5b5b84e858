#pragma once

#include <QString>

#include <string>

// A value in fixed-point notation with `fractionDigits` decimals (0..18; others are clamped):
// the value is taken to 18 significant digits, then rounded to the decimals with halves away
// from zero; at least one digit precedes the point ".". An integer part of more than 18 digits
// is written in exponent notation; NaN and infinities as "NAN", "INF", "-INF".
std::string FormatFixed(double value, int fractionDigits);

// What the readout shows: the formatted value without its point, padded in front with zeros to
// at least `numDigits` characters, and the position of the removed point counting from 1
// (0 when there is none).
struct TDisplayText
{
    std::string Characters;
    int SeparatorPosition = 0;
};
TDisplayText MakeDisplayText(double value, int fractionDigits, int numDigits);

// What the readout shows in place of its value while digits are typed: the text's digits and its
// first separator ("." or ","), right-aligned in `numDigits` cells with blanks in front; of a
// longer text the last `numDigits` characters.
TDisplayText MakeTypedText(const QString &typed, int numDigits);
