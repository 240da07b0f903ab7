#include "document/CalvastraScheme.h"

#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeFile.h"

CalvastraScheme::CalvastraScheme()
    : juce::FileBasedDocument (".calvastrascheme",
                               "*.calvastrascheme",
                               "Choose a scheme file to open...",
                               "Choose a location for your scheme file...")
{
}

CalvastraScheme::~CalvastraScheme()
{
    // A save announces itself with a change message, which is delivered
    // later; opening another scheme right after saving deletes this one in
    // the same dispatch. The listeners hear of it now, while the scheme is
    // still here, rather than never.
    dispatchPendingMessages();
    clear();
}

juce::String CalvastraScheme::getDocumentTitle()
{
    return documentTitle;
}

juce::Result CalvastraScheme::loadDocument (const juce::File& file)
{
    clear();

    // The window has one message for every file that does not open.
    if (SchemeFile::readSchemeFile (file, *this).failed())
        return juce::Result::fail (SchemeBytes::noValidXml);

    documentTitle = file.getFileNameWithoutExtension();
    return juce::Result::ok();
}

juce::Result CalvastraScheme::saveDocument (const juce::File& file)
{
    const auto target = file.withFileExtension (".calvastrascheme");
    const auto result = writeTo (target);

    if (result.wasOk())
        documentTitle = file.getFileNameWithoutExtension();

    return result;
}

juce::Result CalvastraScheme::writeTo (const juce::File& target)
{
    // A failed write must not count as saved: the caller would then quit
    // without asking and the work would be lost.
    using Outcome = AtomicFileReplace::Outcome;
    const auto result = SchemeFile::writeSchemeFile (target, *this);

    // The system's reason goes on a line under the message.
    const auto withReason = [&result] (const juce::String& message)
    { return juce::Result::fail (message + "\n" + result.why().getErrorMessage()); };

    switch (result.outcome)
    {
        case Outcome::replaced:
            return juce::Result::ok();
        case Outcome::targetReadOnly:
            return juce::Result::fail ("The file is read-only. It was left as it was.");
        case Outcome::targetInUse:
            return juce::Result::fail ("Another program is using the file. It was left as it was.");
        case Outcome::replacedNotLasting:
            // The new bytes are in place but may not survive a crash: it is not saved yet.
            return withReason ("The scheme was written, but the system did not confirm that the change is stored: "
                               "after a crash the file could hold the earlier version. Save again to be sure.");
        case Outcome::failed:
        default:
            return withReason ("Could not write the scheme file! It was left as it was.");
    }
}

juce::File CalvastraScheme::getLastDocumentOpened()
{
    if (recentFiles == nullptr || recentFiles->getNumFiles() == 0)
        return {};

    return recentFiles->getFile (0);
}

void CalvastraScheme::setLastDocumentOpened (const juce::File& file)
{
    if (recentFiles == nullptr)
        return;

    // The list itself compares paths case-sensitively; one file reached under
    // two spellings must still be listed once.
    const auto path = file.getFullPathName();

    for (int i = recentFiles->getNumFiles(); --i >= 0;)
    {
        const auto listed = recentFiles->getFile (i);

        if (listed.getFullPathName().equalsIgnoreCase (path))
            recentFiles->removeFile (listed);
    }

    recentFiles->addFile (file);
}
