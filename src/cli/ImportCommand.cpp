// import: the colours of a palette whose names match, written into the scheme.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "exchange/Palette.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeFile.h"

#include <cstring>

namespace Cli
{
namespace
{
    /** The palette's entries; refuses, naming the file and why, when it is no palette. */
    Palette::Read readPaletteOrRefuse (const std::string& path)
    {
        if (fileAt (path).getSize() > SchemeBytes::maxSize)
            throw Refusal (path + ": is too large to be a palette");

        // Read as schemes are, so that a failing read is refused in the system's words, never half taken.
        juce::MemoryBlock bytes;
        refuseIfFailed (path, SchemeFile::readFileBytes (fileAt (path), bytes));

        if (bytes.isEmpty())
            throw Refusal (path + ": is empty, so no palette");

        if (! juce::CharPointer_UTF8::isValidString (static_cast<const char*> (bytes.getData()), (int) bytes.getSize())
            || std::memchr (bytes.getData(), 0, bytes.getSize()) != nullptr)
            throw Refusal (path + ": is no text in UTF-8, so no palette");

        auto read = Palette::read (juce::String::fromUTF8 (static_cast<const char*> (bytes.getData()), (int) bytes.getSize()));

        if (read.error.isNotEmpty())
            throw Refusal (path + ": " + read.error.toStdString());

        return read;
    }
} // namespace

void addImportCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file, from;
        Destination destination;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("import", "Set the colours whose names match from a GIMP palette, CSS custom properties or design tokens (told by the contents)");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_option ("--from", options->from, "The palette file")->required();
    options->destination.addTo (*command);

    command->callback ([options]
                       {
        options->destination.check();

        SchemeModel model;
        readSchemeOrRefuse (options->file, model);
        const auto palette = readPaletteOrRefuse (options->from);
        const auto keepAlpha = ! Palette::holdsAlpha (palette.format);
        const auto applied = Palette::apply (palette.entries, model, keepAlpha);
        const auto from = juce::String::fromUTF8 (options->from.data(), (int) options->from.size());

        if (keepAlpha)
            printLine (from + ": a " + Palette::describe (palette.format) + " holds no alpha; each colour keeps the scheme's alpha");

        for (const auto& name : palette.skipped)
            printLine (from + ": " + jsonString (name) + " is no colour; skipped");

        for (const auto& name : applied.unmatched)
            printLine (from + ": no colour named " + jsonString (name) + " in the scheme");

        printLine (juce::String (applied.changed) + " changed, " + juce::String (applied.unchanged) + " the same, "
                   + juce::String (applied.unmatched.size()) + " matched no colour");

        writeSchemeOrRefuse (options->destination.pathFor (options->file), model); });
}
} // namespace Cli
