#pragma once

#include "scheme/SchemeModel.h"

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

    juce::String getDocumentTitle() override;
    juce::Result loadDocument (const juce::File& file) override;
    juce::Result saveDocument (const juce::File& file) override;
    juce::File getLastDocumentOpened() override;
    void setLastDocumentOpened (const juce::File& file) override;

private:
    juce::Result writeTo (const juce::File& target);

    juce::String documentTitle;
    juce::RecentlyOpenedFilesList* recentFiles = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraScheme)
};
