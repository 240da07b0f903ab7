#pragma once

#include "document/CalvastraScheme.h"
#include "document/CalvastraSchemeList.h"
#include "groups/ColourTweakerListener.h"
#include "look/LameOLook.h"

#include <juce_gui_extra/juce_gui_extra.h>

#include <functional>

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

    /** Marks the shown scheme changed: what Save writes is no longer what is on disk. */
    void schemeEdited (ColourTweaker* source) override;

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

    /** Opens a scheme file; with File() the user chooses one. A shown scheme
        with changes is first offered for saving (saveIfNeededAndUserAgrees).
        On Cancel, a failed save or a failed load the current scheme, its
        changes, the panes and the recent files stay as they were.
        Returns true if a scheme was opened. */
    bool openScheme (const juce::File& file);

    /** Asks what to do with the shown scheme's changes, and does it: saves
        (SaveResult savedOk when saved), discards (savedOk), or is cancelled
        (userCancelledSave). The default is the framework's own question,
        FileBasedDocument::saveIfNeededAndUserAgrees(). */
    using SaveQuestion = std::function<juce::FileBasedDocument::SaveResult (CalvastraScheme&)>;

    /** Replaces the question for this component only (null: the framework's own). */
    void setSaveQuestion (SaveQuestion question) { saveQuestion = std::move (question); }

    /** True when the shown scheme may go: there is none, it has no changes
        (nothing is asked then), or the user saved it successfully or
        discarded the changes. False on Cancel or a failed save. */
    bool saveIfNeededAndUserAgrees();

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
    SaveQuestion saveQuestion;
    bool asking = false;
    decltype (CalvastraScheme::onSaveAttempt) saveObserver;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CalvastraTintwright)
};
