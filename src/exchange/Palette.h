#pragma once

#include "scheme/SchemeModel.h"

#include <optional>
#include <vector>

/** A scheme's colours as palettes other programs read: GIMP palettes (GIMP,
    Inkscape, Krita), CSS custom properties, and the Design Tokens Community
    Group's JSON format (groups as token groups). What is written reads back
    as the same names and colours, so a round trip changes nothing. */
namespace Palette
{
enum class Format
{
    gpl,
    css,
    tokens
};

const char* nameOf (Format format) noexcept;
std::optional<Format> formatNamed (const juce::String& name);
const char* describe (Format format) noexcept;

/** GIMP palettes hold red, green and blue only. */
bool holdsAlpha (Format format) noexcept;

/** The palette's text; title names it where the format has a place for it.
    Every name is kept: escaped where a format has escapes, and a design
    token whose name cannot be its key keeps it in its extensions. */
juce::String write (const SchemeModel& model, Format format, const juce::String& title);

/** Where a design token keeps a name that cannot be its key. */
constexpr const char* tokenNameExtension = "tintwright";

struct Entry
{
    juce::String name;
    juce::Colour colour;
};

struct Read
{
    Format format = Format::gpl;
    std::vector<Entry> entries;
    juce::StringArray skipped; // names whose value is no colour (CSS or tokens of other kinds)
    juce::String error; // why the text is no palette (with a line number where there is one); empty when it read
};

/** Reads a palette, its format told by its contents. */
Read read (const juce::String& text);

struct Applied
{
    int changed = 0, unchanged = 0;
    juce::StringArray unmatched; // palette names that matched no colour of the scheme
};

/** Sets the colours whose names match: the nth entry of a name goes to the
    nth colour of that name. With keepAlpha (a format without alpha) each
    colour keeps its own alpha. Nothing else of the scheme changes. */
Applied apply (const std::vector<Entry>& entries, SchemeModel& model, bool keepAlpha);
} // namespace Palette
