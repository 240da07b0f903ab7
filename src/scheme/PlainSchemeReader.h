#pragma once

#include "SchemeModel.h"

namespace SchemeFile
{
/** Reads a scheme in the plain form this program writes straight into an
    empty model, without building an element tree: white space, an optional
    XML declaration, then COLOURS, COLOUR, COLOURGROUPS and COLOURGROUP
    elements (any letter case, each where the reader looks for it) with NAME
    and COLOUR attributes, and the usual character references in the values.

    Returns false as soon as the text holds anything else (comments, other
    elements or attributes, text, unusual references, non-ASCII outside
    attribute values, anything after the root...). The model is then partly
    filled; the caller clears it and reads the text with JUCE's parser, which
    gives the same model for every text accepted here.

    The text must be valid UTF-8 and end with a zero. */
bool readPlainScheme (const char* utf8, SchemeModel& model);
} // namespace SchemeFile
