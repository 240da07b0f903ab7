#pragma once

#include "scheme/SchemeModel.h"
#include "schemefile/AtomicFileReplace.h"

#include <juce_gui_extra/juce_gui_extra.h>

/** The scheme document: one scheme file and its model. */
class CalvastraScheme : public juce::FileBasedDocument,
                        public SchemeModel
{
public:
    CalvastraScheme();
    ~CalvastraScheme() override;

    /** The main component's list; the document reads and extends it. May be null. */
    void setRecentlyOpenedFiles (juce::RecentlyOpenedFilesList* list) noexcept { recentFiles = list; }

    /** Called after every attempt to save, with the file written to (or not)
        and whether it worked. For the monkey test's probe; usually unset. */
    std::function<void (const juce::File& target, const SchemeModel& scheme, bool succeeded)> onSaveAttempt;

    /** Makes chosen steps of every save from now on fail; null for none. For
        tests only; the faults must outlive the document or be unset first. */
    void setSaveFaults (const AtomicFileReplace::Faults* faults) noexcept { saveFaults = faults; }

    juce::String getDocumentTitle() override;
    juce::Result loadDocument (const juce::File& file) override;
    juce::Result saveDocument (const juce::File& file) override;
    juce::File getLastDocumentOpened() override;
    void setLastDocumentOpened (const juce::File& file) override;

private:
    juce::Result writeTo (const juce::File& target);

    juce::String documentTitle;
    juce::RecentlyOpenedFilesList* recentFiles = nullptr;
    const AtomicFileReplace::Faults* saveFaults = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraScheme)
};
