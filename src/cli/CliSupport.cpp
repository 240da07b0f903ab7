#include "cli/CliSupport.h"

#include "schemefile/SchemeFile.h"

#include <cstdio>
#include <string>

namespace Cli
{
juce::File fileAt (const std::string& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (path.data(), (int) path.size()));
}

void refuseIfFailed (const std::string& path, const juce::Result& step)
{
    if (step.failed())
        throw Refusal (path + ": " + step.getErrorMessage().toStdString());
}

void readSchemeOrRefuse (const std::string& path, SchemeModel& model)
{
    refuseIfFailed (path, SchemeFile::readSchemeFile (fileAt (path), model));
}

void refuseToReplaceUnreadable (const std::string& path)
{
    const auto file = fileAt (path);

    if (! file.exists())
        return;

    SchemeModel existing;

    if (const auto read = SchemeFile::readSchemeFile (file, existing); read.failed())
        throw Refusal (path + ": not overwritten, it is no scheme file (" + read.getErrorMessage().toStdString() + ")");
}

void refuseUnlessReplaced (const std::string& path, const AtomicFileReplace::Result& result)
{
    using Outcome = AtomicFileReplace::Outcome;
    const auto reason = result.why().getErrorMessage().toStdString();

    switch (result.outcome)
    {
        case Outcome::replaced:
            return;
        case Outcome::targetReadOnly:
            throw Refusal (path + ": the file is read-only; it was left as it was");
        case Outcome::targetInUse:
            throw Refusal (path + ": another program is using the file; it was left as it was");
        case Outcome::replacedNotLasting:
            // As the window: new bytes that may not survive a crash are no finished save.
            throw Refusal (path + ": written, but the system did not confirm that the change is stored: " + reason
                               + "; after a crash the file could hold the earlier version",
                           writtenNotConfirmed);
        case Outcome::failed:
        default:
            throw Refusal (path + ": could not be written: " + reason + "; it was left as it was");
    }
}

void writeSchemeOrRefuse (const std::string& path, const SchemeModel& model)
{
    refuseUnlessReplaced (path, SchemeFile::writeSchemeFile (fileAt (path), model));
}

void Destination::addTo (CLI::App& command)
{
    auto* out = command.add_option ("-o,--output", outPath, "Write the result to this file (a new file, or a scheme file to replace)");
    auto* over = command.add_flag ("--in-place", inPlace, "Write the result over the input file");
    out->excludes (over);
}

void Destination::check() const
{
    if (! given())
        throw Refusal ("say where to write: -o OUT or --in-place");

    if (! inPlace)
        refuseToReplaceUnreadable (outPath);
}

ColourGroup& groupOrRefuse (const SchemeModel& model, const juce::String& name, const std::string& path)
{
    auto* group = model.findGroup (name);

    if (group == nullptr)
        throw Refusal (path + ": no group named \"" + name.toStdString() + "\"");

    int sharing = 0;
    for (auto* g : model.getColourGroups())
        sharing += g->getName() == name ? 1 : 0;

    if (sharing > 1)
        printError (juce::String (path) + ": " + juce::String (sharing) + " groups are named \"" + name + "\"; the first is meant");

    return *group;
}

juce::String argbText (juce::Colour colour)
{
    return juce::String::toHexString ((juce::int64) colour.getARGB()).paddedLeft ('0', 8);
}

juce::String jsonString (const juce::String& text)
{
    // Built as bytes and made a String once: appending to a String looks for
    // its end every time, which a long name full of escapes makes quadratic.
    // Bytes of multi-byte characters are all 0x80 or more and pass unchanged.
    const auto* utf8 = text.toRawUTF8();
    const auto size = text.getNumBytesAsUTF8();
    std::string result;
    result.reserve (size + size / 8 + 2);
    result += '"';

    for (size_t i = 0; i < size; ++i)
    {
        const auto c = (unsigned char) utf8[i];

        switch (c)
        {
            case '"':
                result += "\\\"";
                break;
            case '\\':
                result += "\\\\";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\r':
                result += "\\r";
                break;
            case '\t':
                result += "\\t";
                break;
            case '\b':
                result += "\\b";
                break;
            case '\f':
                result += "\\f";
                break;
            default:
                if (c < 0x20)
                {
                    const char hex[] = "0123456789abcdef";
                    result += "\\u00";
                    result += hex[c >> 4];
                    result += hex[c & 15];
                }
                else
                {
                    result += (char) c;
                }
        }
    }

    result += '"';
    return juce::String::fromUTF8 (result.data(), (int) result.size());
}

namespace
{
    void writeLine (std::FILE* stream, const juce::String& text)
    {
        const auto* utf8 = text.toRawUTF8();
        std::fwrite (utf8, 1, text.getNumBytesAsUTF8(), stream);
        std::fputc ('\n', stream);
    }
} // namespace

void printLine (const juce::String& text) { writeLine (stdout, text); }

void printError (const juce::String& text)
{
    std::fflush (stdout);
    writeLine (stderr, "tintwright-cli: " + text);
}

void PairOption::addTo (CLI::App& command, const std::string& description)
{
    command.add_option ("--pair", names, description)
        ->expected (2, 2)
        ->allow_extra_args (false)
        ->multi_option_policy (CLI::MultiOptionPolicy::TakeAll);
}

std::vector<NamedPair> PairOption::pairs() const
{
    const auto text = [] (const std::string& name)
    { return juce::String::fromUTF8 (name.data(), (int) name.size()); };
    std::vector<NamedPair> result;

    for (size_t i = 0; i + 1 < names.size(); i += 2)
        result.push_back ({ text (names[i]), text (names[i + 1]) });

    return result;
}

const SchemeColour& colourOrRefuse (const SchemeModel& model, const juce::String& name, const std::string& path)
{
    if (auto* colour = model.findColourByName (ColourName (name)))
        return *colour;

    throw Refusal (path + ": no colour named " + jsonString (name).toStdString());
}

CLI::Option* addJsonFlag (CLI::App& command, bool& json) { return command.add_flag ("--json", json, "Print one JSON object"); }
} // namespace Cli
