// render: a swatch sheet of the scheme, or of one group (stored and tweaked side by side), as a PNG.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SwatchSheet.h"
#include "cli/TweakOptions.h"

#include "maths/ColourVision.h"
#include "schemefile/AtomicFileReplace.h"

#include <functional>

namespace Cli
{
namespace
{
    // Every colour drawn goes through this: as it is, or as seen with a deficiency.
    using Seen = std::function<juce::Colour (juce::Colour)>;

    void addColours (SwatchSheet& sheet, const SchemeModel& model, const Seen& see, const juce::String& asSeen)
    {
        sheet.addHeading ("Colours" + asSeen);

        for (int i = 0; i < model.getNumColours(); ++i)
            sheet.addSwatch (model.getColour (i)->name.toString(), see (model.getColour (i)->colour));
    }

    void addGroup (SwatchSheet& sheet, const ColourGroup& group, bool withPreview, const Seen& see)
    {
        const auto groupName = group.getName().isEmpty() ? juce::String ("with no name") : group.getName();
        sheet.addHeading ("Group " + groupName + (withPreview ? " (stored, tweaked)" : ""));

        for (int i = 0; i < group.getNumMembers(); ++i)
        {
            const auto* member = group.getMember (i);
            const auto name = member->getSchemeColour().name.toString();

            if (withPreview)
                sheet.addSwatch (name, see (member->getStoredColour()), see (member->getPreviewColour()));
            else
                sheet.addSwatch (name, see (member->getStoredColour()));
        }
    }

    /** A picture may replace a picture, but nothing else. */
    void refuseUnlessPng (const std::string& path, const juce::File& file)
    {
        if (! file.exists())
            return;

        juce::FileInputStream in (file);
        juce::PNGImageFormat png;

        if (file.isDirectory() || ! in.openedOk() || ! png.canUnderstand (in))
            throw Refusal (path + ": not overwritten, it is no PNG file");
    }
} // namespace

void addRenderCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file, out, group, vision;
        double severity = 1.0;
        TweakOptions tweak;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("render", "Draw the scheme's colours (or one group's) as a PNG swatch sheet; with tweak options, stored and tweaked side by side");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_option ("-o,--output", options->out, "The PNG file to write")->required();
    command->add_option ("-g,--group", options->group, "Only this group (the first of that name)");
    options->tweak.addTo (*command);
    command->add_option ("--vision", options->vision, "Draw the colours as seen with this deficiency")->check (CLI::IsMember ({ "protanopia", "deuteranopia", "tritanopia" }));
    command->add_option ("--severity", options->severity, "With --vision: from 0 (none) to 1 (full; the default)")->check (CLI::Range (0.0, 1.0));

    command->callback ([options]
                       {
        options->tweak.validate();

        if (options->tweak.any() && options->group.empty())
            throw Refusal ("tweak options need --group: a tweak belongs to a group");

        const auto target = fileAt (options->out);
        refuseUnlessPng (options->out, target);

        SchemeModel model;
        readSchemeOrRefuse (options->file, model);
        SwatchSheet sheet;

        Seen see = [] (juce::Colour c) { return c; };
        juce::String asSeen;

        if (! options->vision.empty())
        {
            const auto deficiency = *ColourVision::fromName (options->vision);
            see = [matrix = ColourVision::matrixFor (deficiency, options->severity)] (juce::Colour c) { return ColourVision::seen (matrix, c); };
            asSeen = " as seen with " + juce::String (options->vision) + (options->severity < 1 ? " (severity " + juce::String (options->severity) + ")" : juce::String());
        }

        if (options->group.empty())
        {
            addColours (sheet, model, see, asSeen);

            for (auto* group : model.getColourGroups())
                addGroup (sheet, *group, false, see);
        }
        else
        {
            auto& group = groupOrRefuse (model, juce::String::fromUTF8 (options->group.c_str()), options->file);
            options->tweak.setOn (group);
            if (asSeen.isNotEmpty())
                sheet.addHeading (asSeen.trimStart().replaceSection (0, 1, "A"));

            addGroup (sheet, group, options->tweak.any(), see);
        }

        if (sheet.getNumLines() > SwatchSheet::maxLines)
            throw Refusal (options->file + ": " + std::to_string (sheet.getNumLines()) + " swatches and headings are too many for one picture (at most "
                           + std::to_string (SwatchSheet::maxLines) + "); render one group with --group");

        juce::MemoryOutputStream png;
        juce::PNGImageFormat format;

        if (! format.writeImageToStream (sheet.draw(), png))
            throw Refusal (options->out + ": the picture could not be encoded");

        refuseUnlessReplaced (options->out, AtomicFileReplace::replace (target, png.getData(), png.getDataSize())); });
}
} // namespace Cli
