#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class CalvastraScheme;

/** The list of the scheme's colours; its own model, and the source of colour drags. */
class CalvastraSchemeList : public juce::ListBoxModel,
                            public juce::ListBox
{
public:
    CalvastraSchemeList();
    ~CalvastraSchemeList() override;

    /** Shows another scheme (or none): nothing selected, scrolled to the top. */
    void setScheme (CalvastraScheme* newScheme);
    CalvastraScheme* getScheme() const noexcept { return scheme; }

    int getNumRows() override;
    void paintListBoxItem (int rowNumber, juce::Graphics& g, int width, int height, bool rowIsSelected) override;
    juce::var getDragSourceDescription (const juce::SparseSet<int>& rowsToDescribe) override;

private:
    CalvastraScheme* scheme = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraSchemeList)
};

/** The left pane: the scheme colour list framed under "Scheme Colours". */
class CalvastraSchemeListManager : public juce::Component
{
public:
    CalvastraSchemeListManager();
    ~CalvastraSchemeListManager() override;

    CalvastraSchemeList& getList() noexcept { return list; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    CalvastraSchemeList list;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraSchemeListManager)
};
