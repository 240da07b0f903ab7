#pragma once

#include "CalvastraScheme.h"
#include "CalvastraSchemeList.h"
#include "ColourTweakerListener.h"
#include "LameOLook.h"

#include <juce_gui_extra/juce_gui_extra.h>

class ColourTweaker;

//==============================================================================
/** Holds the two panes side by side, hands them the current scheme, and is the
    container inside which colours are dragged from one pane to the other. */
class CalvastraTintwrightComponent : public juce::Component,
                                     public ColourTweakerListener,
                                     public juce::DragAndDropContainer
{
public:
    CalvastraTintwrightComponent();
    ~CalvastraTintwrightComponent() override;

    CalvastraScheme* getScheme() const noexcept { return currentScheme; }

    /** Shows this scheme (or none) in both panes. Does not take ownership. */
    void setScheme (CalvastraScheme* scheme);
    void refreshViews();

    void coloursApplied (ColourTweaker* source) override;

    CalvastraSchemeListManager& getSchemeListPane() noexcept { return *schemeListPane; }
    ColourTweaker& getGroupPane() noexcept { return *groupPane; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void refreshSchemeList();

    std::unique_ptr<CalvastraSchemeListManager> schemeListPane;
    std::unique_ptr<ColourTweaker> groupPane;
    CalvastraScheme* currentScheme = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraTintwrightComponent)
};

//==============================================================================
/** The main window's content: the File menu and its commands, and the owner of
    the open scheme document. */
class CalvastraTintwright : public juce::ApplicationCommandTarget,
                            public juce::MenuBarModel,
                            public CalvastraTintwrightComponent
{
public:
    enum CommandIDs
    {
        openFile = 1,
        saveFile = 2,
        saveAsNewFile = 3,
        quit = 4
    };

    /** Menu items of recently used files start at this ID. */
    static constexpr int recentFileBaseID = 500;

    explicit CalvastraTintwright (juce::ApplicationCommandManager* commandManager);
    ~CalvastraTintwright() override;

    /** Opens a scheme file; with File() the user chooses one. On failure the
        current scheme, the panes and the recent files stay as they were.
        Returns true if a scheme was opened. */
    bool openScheme (const juce::File& file);

    juce::RecentlyOpenedFilesList& getRecentFiles() noexcept { return recentFiles; }

    /** Handed to every document opened from now on (see CalvastraScheme::onSaveAttempt). */
    void setSaveObserver (decltype (CalvastraScheme::onSaveAttempt) observer) { saveObserver = std::move (observer); }

    // ApplicationCommandTarget
    juce::ApplicationCommandTarget* getNextCommandTarget() override;
    void getAllCommands (juce::Array<juce::CommandID>& commands) override;
    void getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result) override;
    bool perform (const InvocationInfo& info) override;

    // MenuBarModel
    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex (int topLevelMenuIndex, const juce::String& menuName) override;
    void menuItemSelected (int menuItemID, int topLevelMenuIndex) override;

private:
    LameOLook look;
    juce::TooltipWindow tooltipWindow { nullptr, 700 };
    juce::ApplicationCommandManager* commandManager;
    juce::RecentlyOpenedFilesList recentFiles;
    std::unique_ptr<CalvastraScheme> scheme;
    decltype (CalvastraScheme::onSaveAttempt) saveObserver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraTintwright)
};
