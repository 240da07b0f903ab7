#pragma once

#include "SchemeModel.h"

/** The scheme file format: XML with a COLOURS root holding COLOUR elements and
    one COLOURGROUPS element. Pure functions, usable without any window. */
namespace SchemeFile
{
/** Deeper documents are refused before JUCE's recursive parser sees them
    (a scheme needs four levels). */
constexpr int maxNestingDepth = 256;
/** Documents with more distinct element and attribute names are refused too:
    JUCE pools every name, and a flood of them makes its parser quadratic. */
constexpr int maxDistinctNames = 10000;

/** Parses scheme text with JUCE's XML reader. Returns null for anything that
    yields no root element, and for documents nested too deeply to parse safely. */
std::unique_ptr<juce::XmlElement> parse (const juce::String& text);

/** Reads and parses a file; null when unreadable or not XML (see parse). */
std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

/** Fills an empty model from a parsed document. A root other than COLOURS reads nothing. */
void readScheme (const juce::XmlElement& root, SchemeModel& model);

/** Opening: fills an empty model from scheme text. Text in the plain form this
    program writes is read directly; anything else goes through parse() and
    readScheme(), with the same result. False (and the model empty) when the
    text is not XML that parse() accepts. */
bool readSchemeText (const juce::String& text, SchemeModel& model);

/** The same for a file's bytes, decoded as parseFile() does. */
bool readSchemeFile (const juce::File& file, SchemeModel& model);

/** The COLOURS element tree for the model. */
std::unique_ptr<juce::XmlElement> createSchemeElement (const SchemeModel& model);

/** The exact bytes of a scheme file for this element tree (UTF-8, CRLF). */
juce::String toText (const juce::XmlElement& root);

/** The same bytes as toText(), without building a String (faster for saving). */
juce::MemoryBlock toBytes (const juce::XmlElement& root);

/** Colour text: lower-case hex without leading zeros ("0" for 0x00000000). */
juce::String colourToText (juce::Colour colour);
/** Every hex digit shifts in, anything else is skipped; the last 8 digits count. */
juce::Colour colourFromText (juce::StringRef text);
juce::Colour colourFromText (const char* begin, const char* end);

/** Writes the bytes to a temporary file beside the target, flushes it and only
    then moves it over the target, so the target holds either its old or its
    new bytes. Fails with "Could not write the scheme file!". A symbolic link is
    followed, so the file it points to is replaced, not the link. */
juce::Result writeFileAtomically (const juce::File& target, const juce::String& text);
juce::Result writeFileAtomically (const juce::File& target, const juce::MemoryBlock& bytes);
} // namespace SchemeFile
