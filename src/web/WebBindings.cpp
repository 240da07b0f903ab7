// The model module's JavaScript interface (web/model/tintwright-model.d.ts):
// the plain functions for checks and tools, and the Scheme class. Every call
// goes through WebErrors::guarded, so a failure reaches the page as an Error;
// the module's wrapper (WebCalls.js) checks and converts the arguments first.
#include "maths/TweakMaths.h"
#include "web/WebArguments.h"
#include "web/WebErrors.h"
#include "web/WebScheme.h"
#include "web/WebSliders.h"

#include <emscripten/bind.h>
#include <malloc.h>

namespace
{
constexpr const char* tooLargeToOpen = "is too large to open: the model's memory ran out";
constexpr const char* tooLargeToSave = "is too large to save: the model's memory ran out";

template <typename Method, Method method>
struct GuardedMethod;

template <typename Result, typename... Args, Result (WebScheme::*method) (Args...)>
struct GuardedMethod<Result (WebScheme::*) (Args...), method>
{
    static Result call (WebScheme& scheme, Args... args)
    {
        return WebErrors::guarded ([&]
                                   { return (scheme.*method) (args...); });
    }
};

template <typename Result, typename... Args, Result (WebScheme::*method) (Args...) const>
struct GuardedMethod<Result (WebScheme::*) (Args...) const, method>
{
    static Result call (const WebScheme& scheme, Args... args)
    {
        return WebErrors::guarded ([&]
                                   { return (scheme.*method) (args...); });
    }
};

// A method of the Scheme whose failures reach the page as Errors.
template <auto method>
constexpr auto guarded = &GuardedMethod<decltype (method), method>::call;

std::unique_ptr<WebScheme> openScheme (const emscripten::val& bytes)
{
    return WebErrors::guarded ([&]
                               { return WebScheme::open (bytes); },
                               tooLargeToOpen);
}

emscripten::val saveScheme (const WebScheme& scheme)
{
    return WebErrors::guarded ([&]
                               { return scheme.save(); },
                               tooLargeToSave);
}

emscripten::val formatScheme (const emscripten::val& bytes)
{
    auto scheme = openScheme (bytes);
    return scheme != nullptr ? saveScheme (*scheme) : emscripten::val::undefined(); // the failure is the wrapper's to throw
}

juce::uint32 tweakColour (double argb, const emscripten::val& sliders)
{
    return WebErrors::guarded ([&]
                               {
        const auto colour = WebArguments::colourOf (argb);
        TweakMaths::TweakParameters parameters;
        WebSliders::fromObject (sliders).applyTo (parameters);
        return TweakMaths::tweakColour (colour, parameters); });
}

juce::uint32 withForcedHue (double argb, double hue)
{
    return WebErrors::guarded ([&]
                               { 
        const auto colour = WebArguments::colourOf (argb);
        return TweakMaths::withForcedHue (colour, WebSliders::forcedHue (hue)); });
}

juce::uint32 invertedColour (double argb)
{
    return WebErrors::guarded ([&]
                               { return TweakMaths::invertedColour (WebArguments::colourOf (argb)); });
}

emscripten::val sliderRanges()
{
    return WebSliders::ranges();
}

// The bytes the module's allocations hold now: a closed scheme gives its back.
double allocatedBytes()
{
    return (double) mallinfo().uordblks;
}
} // namespace

EMSCRIPTEN_BINDINGS (tintwright_model)
{
    using namespace emscripten;

    function ("formatScheme", &formatScheme);
    function ("tweakColour", &tweakColour);
    function ("withForcedHue", &withForcedHue);
    function ("invertedColour", &invertedColour);
    function ("sliderRanges", &sliderRanges);
    function ("openScheme", &openScheme);
    function ("allocatedBytes", &allocatedBytes);

    class_<WebScheme> ("Scheme")
        .function ("save", &saveScheme)
        .function ("numColours", guarded<&WebScheme::numColours>)
        .function ("colourName", guarded<&WebScheme::colourName>)
        .function ("colourArgb", guarded<&WebScheme::colourArgb>)
        .function ("colourArgbs", guarded<&WebScheme::colourArgbs>)
        .function ("numGroups", guarded<&WebScheme::numGroups>)
        .function ("groupName", guarded<&WebScheme::groupName>)
        .function ("numMembers", guarded<&WebScheme::numMembers>)
        .function ("memberColourIndices", guarded<&WebScheme::memberColourIndices>)
        .function ("storedColours", guarded<&WebScheme::storedColours>)
        .function ("previewColours", guarded<&WebScheme::previewColours>)
        .function ("addGroup", guarded<&WebScheme::addGroup>)
        .function ("deleteGroup", guarded<&WebScheme::deleteGroup>)
        .function ("renameGroup", guarded<&WebScheme::renameGroup>)
        .function ("addColoursToGroup", guarded<&WebScheme::addColoursToGroup>)
        .function ("pickColour", guarded<&WebScheme::pickColour>)
        .function ("setSlider", guarded<&WebScheme::setSlider>)
        .function ("setContrast", guarded<&WebScheme::setContrast>)
        .function ("continueTweak", guarded<&WebScheme::continueTweak>)
        .function ("finishTweak", guarded<&WebScheme::finishTweak>)
        .function ("resetTweak", guarded<&WebScheme::resetTweak>)
        .function ("invertColours", guarded<&WebScheme::invertColours>)
        .function ("forceHue", guarded<&WebScheme::forceHue>)
        .function ("applyTweak", guarded<&WebScheme::applyTweak>);
}
