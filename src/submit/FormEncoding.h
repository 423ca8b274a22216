#pragma once

#include "core/TextEncoding.h"

#include <QString>

// Names and values of a form go out as HTML forms send them
// (application/x-www-form-urlencoded): the text's bytes in the given encoding, letters, digits
// and "*-._" as they are, a space as "+", every other byte as "%XX". So a value holding "&", "="
// or a line break stays one value.
QString formEncoded(const QString& text, TextEncoding encoding);

// A run of ready pairs ("a=1&b=2&") with each name and value encoded; the "=" and "&" that join
// them stay as they are.
QString formEncodedPairs(const QString& pairs, TextEncoding encoding);
