#pragma once

class ColourTweaker;

/** Told after a group's tweak has been written into the scheme's colours (Apply). */
class ColourTweakerListener
{
public:
    virtual ~ColourTweakerListener() = default;
    virtual void coloursApplied (ColourTweaker* source) = 0;
};
