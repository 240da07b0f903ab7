// The entry point of the probed build of the program (CMake option
// TINTWRIGHT_TEST_PROBE, which scripts/sanitize.sh turns on for the monkey
// test): the program itself, with a TestProbe watching its main window when
// TINTWRIGHT_PROBE_DIR names a folder.
#include "app/AppClass.h"
#include "probe/TestProbe.h"

namespace
{
class ProbedApp : public AppClass
{
public:
    void initialise (const juce::String& commandLine) override
    {
        AppClass::initialise (commandLine);

        const auto folder = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_PROBE_DIR", {});

        if (folder.isNotEmpty() && getMainWindow() != nullptr)
            probe = std::make_unique<TestProbe> (juce::File (folder), *getMainWindow());
    }

    void shutdown() override
    {
        // The window first: its documents announce their last saves to the probe.
        AppClass::shutdown();
        probe.reset();
    }

private:
    std::unique_ptr<TestProbe> probe;
};
} // namespace

START_JUCE_APPLICATION (ProbedApp)
