#pragma once

/** Told the hue (0 to 1; both ends are red) that the user clicked in a hue selector. */
class HueSelectorListener
{
public:
    virtual ~HueSelectorListener() = default;
    virtual void hueSelected (float hue) = 0;
};
