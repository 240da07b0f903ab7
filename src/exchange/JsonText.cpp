#include "exchange/JsonText.h"

namespace JsonText
{
juce::String quoted (const juce::String& text)
{
    juce::String result ("\"");
    result.preallocateBytes (text.getNumBytesAsUTF8() + 2);

    for (auto p = text.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = p.getAndAdvance();

        switch (c)
        {
            case '"':
                result << "\\\"";
                break;
            case '\\':
                result << "\\\\";
                break;
            case '\n':
                result << "\\n";
                break;
            case '\r':
                result << "\\r";
                break;
            case '\t':
                result << "\\t";
                break;
            default:
                if (c < 0x20)
                    result << "\\u" << juce::String::toHexString ((int) c).paddedLeft ('0', 4);
                else
                    result += juce::String::charToString (c);
        }
    }

    return result + "\"";
}
} // namespace JsonText
