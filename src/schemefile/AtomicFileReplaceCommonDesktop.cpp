#include "schemefile/AtomicFileReplaceCommon.h"

namespace AtomicFileReplace
{
namespace
{
    const char* const temporaryPrefix = ".tintwright-";
    const char* const temporarySuffix = ".tmp";
} // namespace

juce::File resolveLinks (juce::File file)
{
    for (int hops = 0; hops < 40 && file.isSymbolicLink(); ++hops)
        file = file.getLinkedTarget();

    return file;
}

juce::File freshTemporaryFile (const juce::File& folder, juce::uint32 processId)
{
    return folder.getChildFile (temporaryPrefix + juce::String (processId) + "-"
                                + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()) + temporarySuffix);
}

void removeLeftoversOfDeadWriters (const juce::File& folder, const std::function<bool (juce::uint32)>& isRunning)
{
    for (auto& file : folder.findChildFiles (juce::File::findFiles, false, juce::String (temporaryPrefix) + "*" + temporarySuffix))
    {
        auto idText = file.getFileName().substring ((int) std::strlen (temporaryPrefix)).upToFirstOccurrenceOf ("-", false, false);

        if (idText.isEmpty() || idText.length() > 9 || ! idText.containsOnly ("0123456789"))
            continue;

        if (! isRunning ((juce::uint32) idText.getLargeIntValue()))
            file.deleteFile();
    }
}

juce::String reasonFor (const Result& result)
{
    const char* doing = "";

    switch (result.step)
    {
        case Step::examineTarget:
            doing = "examining the file";
            break;
        case Step::createTemporary:
            doing = "creating the temporary file";
            break;
        case Step::write:
            doing = "writing";
            break;
        case Step::flush:
            doing = "flushing to disk";
            break;
        case Step::setPermissions:
            doing = "copying the file's permissions";
            break;
        case Step::close:
            doing = "closing";
            break;
        case Step::replaceTarget:
            doing = "replacing the file";
            break;
        case Step::syncFolder:
            doing = "confirming the replace";
            break;
    }

    const auto text = result.systemError != 0 ? systemErrorText (result.systemError) : juce::String();
    return (text.isNotEmpty() ? text : juce::String ("the system gave no reason")) + " (while " + doing + ")";
}
} // namespace AtomicFileReplace
