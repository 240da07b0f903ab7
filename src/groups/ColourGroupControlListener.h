#pragma once

class ColourGroup;

/** Told which group the group controls now show, or null for none. */
class ColourGroupControlListener
{
public:
    virtual ~ColourGroupControlListener() = default;
    virtual void colourGroupSelected (ColourGroup* group) = 0;
};
