#include "app/CalvastraTintwright.h"

#include "groups/ColourTweaker.h"

//==============================================================================
CalvastraTintwrightComponent::CalvastraTintwrightComponent()
    : schemeListPane (std::make_unique<CalvastraSchemeListManager>()),
      groupPane (std::make_unique<ColourTweaker>())
{
    addAndMakeVisible (*schemeListPane);
    addAndMakeVisible (*groupPane);
    groupPane->setColourTweakerListener (this);
}

CalvastraTintwrightComponent::~CalvastraTintwrightComponent()
{
    groupPane->setColourTweakerListener (nullptr);
}

void CalvastraTintwrightComponent::setScheme (CalvastraScheme* scheme)
{
    currentScheme = scheme;
    groupPane->setScheme (scheme);
    schemeListPane->getList().setScheme (scheme);
    refreshSchemeList();
}

void CalvastraTintwrightComponent::refreshViews()
{
    refreshSchemeList();
    groupPane->refreshColours();
}

void CalvastraTintwrightComponent::coloursApplied (ColourTweaker*)
{
    refreshSchemeList();
}

void CalvastraTintwrightComponent::schemeEdited (ColourTweaker*)
{
    if (currentScheme != nullptr)
        currentScheme->changed();
}

void CalvastraTintwrightComponent::refreshSchemeList()
{
    auto& list = schemeListPane->getList();
    list.updateContent();
    list.repaint();
}

void CalvastraTintwrightComponent::paint (juce::Graphics&)
{
    // The panes cover everything.
}

void CalvastraTintwrightComponent::resized()
{
    constexpr int schemeListWidth = 200;

    schemeListPane->setBounds (0, 0, schemeListWidth, getHeight());
    groupPane->setBounds (schemeListWidth, 0, juce::jmax (0, getWidth() - schemeListWidth), getHeight());
}

//==============================================================================
namespace
{
// PopupMenu::addSeparator() drops a separator that follows another one; the
// File menu keeps all three, also when there are no recent files between them.
void addSeparatorItem (juce::PopupMenu& menu)
{
    juce::PopupMenu::Item separator;
    separator.isSeparator = true;
    menu.addItem (std::move (separator));
}
} // namespace

CalvastraTintwright::CalvastraTintwright (juce::ApplicationCommandManager* commandManagerToUse)
    : commandManager (commandManagerToUse)
{
    // Last, so that the panes and the framework's own windows all draw with it.
    juce::LookAndFeel::setDefaultLookAndFeel (&look);
}

CalvastraTintwright::~CalvastraTintwright()
{
    // The panes let go of the scheme before it goes.
    setScheme (nullptr);
    scheme.reset();

    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

bool CalvastraTintwright::saveIfNeededAndUserAgrees()
{
    if (scheme == nullptr || ! scheme->hasChangedSinceSaved())
        return true;

    // A second request while the question is open (a quit from the system,
    // say) waits for the answer to the first.
    if (asking)
        return false;

    const juce::ScopedValueSetter<bool> askingNow (asking, true);
    auto& shown = *scheme;
    getGroupPane().finishPendingPreviews();

    const auto result = saveQuestion != nullptr ? saveQuestion (shown) : shown.saveIfNeededAndUserAgrees();
    return result == juce::FileBasedDocument::savedOk;
}

bool CalvastraTintwright::openScheme (const juce::File& file)
{
    if (! saveIfNeededAndUserAgrees())
        return false;

    auto newScheme = std::make_unique<CalvastraScheme>();
    newScheme->setRecentlyOpenedFiles (&recentFiles);

    const auto result = file == juce::File() ? newScheme->loadFromUserSpecifiedFile (false)
                                             : newScheme->loadFrom (file, false);

    if (result.failed())
        return false;

    // The panes take the new scheme before the old one is deleted, so that
    // none of them ever refers to a deleted group or colour.
    auto previous = std::move (scheme);
    scheme = std::move (newScheme);
    setScheme (scheme.get());
    refreshViews();
    previous.reset();
    return true;
}

juce::ApplicationCommandTarget* CalvastraTintwright::getNextCommandTarget()
{
    return nullptr;
}

void CalvastraTintwright::getAllCommands (juce::Array<juce::CommandID>& commands)
{
    commands.addArray ({ openFile, saveFile, saveAsNewFile, quit });
}

void CalvastraTintwright::getCommandInfo (juce::CommandID commandID, juce::ApplicationCommandInfo& result)
{
    // The File menu's commands: name and description.
    const struct
    {
        juce::CommandID id;
        const char* name;
        const char* description;
    } commands[] = {
        { openFile, "Open file...", "Open a Calvastra scheme file." },
        { saveFile, "Save file...", "Save the current Calvastra scheme." },
        { saveAsNewFile, "Save as new file...", "Save this Calvastra scheme to a new file." },
        { quit, "Quit", "Quit the program." },
    };

    for (const auto& command : commands)
        if (command.id == commandID)
            result.setInfo (command.name, command.description, "File", 0);
}

bool CalvastraTintwright::perform (const InvocationInfo& info)
{
    switch (info.commandID)
    {
        case openFile:
            openScheme (juce::File());
            return true;

        case saveFile:
            // A failed save must be seen: the user would think the work is safe.
            if (scheme != nullptr)
            {
                getGroupPane().finishPendingPreviews();
                scheme->save (true, true);
            }
            return true;

        case saveAsNewFile:
            if (scheme != nullptr)
            {
                getGroupPane().finishPendingPreviews();
                scheme->saveAsInteractive (true);
            }
            return true;

        case quit:
            if (auto* app = juce::JUCEApplication::getInstance())
                app->systemRequestedQuit();
            return true;

        default:
            return false;
    }
}

juce::StringArray CalvastraTintwright::getMenuBarNames()
{
    return { "File" };
}

juce::PopupMenu CalvastraTintwright::getMenuForIndex (int, const juce::String& menuName)
{
    juce::PopupMenu menu;

    if (menuName == "File" && commandManager != nullptr)
    {
        menu.addCommandItem (commandManager, openFile);
        addSeparatorItem (menu);
        menu.addCommandItem (commandManager, saveFile);
        menu.addCommandItem (commandManager, saveAsNewFile);
        addSeparatorItem (menu);
        recentFiles.createPopupMenuItems (menu, recentFileBaseID, true, true, nullptr);
        addSeparatorItem (menu);
        menu.addCommandItem (commandManager, quit);
    }

    return menu;
}

void CalvastraTintwright::menuItemSelected (int menuItemID, int)
{
    const auto index = menuItemID - recentFileBaseID;

    // File() would mean "let the user choose"; an index off the list opens nothing.
    if (index >= 0 && index < recentFiles.getNumFiles())
        openScheme (recentFiles.getFile (index));
}
