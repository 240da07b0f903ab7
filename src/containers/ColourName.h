#pragma once

#include <juce_core/juce_core.h>

/** A colour's name, as shortest-form UTF-8 bytes ending in a zero.

    The names a scheme model reads from a file refer to bytes the model keeps
    together in one store (see SchemeModel::appendColour), so that opening a
    scheme does not allocate once per name. Every other name owns its bytes,
    and so does every copy: a name copied out of a model stays valid after the
    model has gone. A move carries the bytes over as they are.
*/
class ColourName
{
public:
    ColourName() noexcept = default;
    ColourName (const juce::String& text);
    /** The text is read as UTF-8. */
    ColourName (const char* utf8);
    ColourName (const ColourName& other);
    ColourName& operator= (const ColourName& other);
    ColourName (ColourName&& other) noexcept;
    ColourName& operator= (ColourName&& other) noexcept;

    /** A name whose bytes (followed by a zero) someone else keeps for at least as long as this name lives. */
    static ColourName referringTo (const char* utf8, size_t numBytes) noexcept;

    const char* getUtf8() const noexcept { return bytes; }
    size_t getNumBytes() const noexcept { return numBytes; }
    bool isEmpty() const noexcept { return numBytes == 0; }

    /** The name as a String, for showing; costs an allocation unless the name owns its bytes. */
    juce::String toString() const;
    /** At most the first maxCharacters characters, without copying the rest of a long name. */
    juce::String toString (int maxCharacters) const;

    friend bool operator== (const ColourName& a, const ColourName& b) noexcept
    {
        return a.numBytes == b.numBytes && std::memcmp (a.bytes, b.bytes, a.numBytes) == 0;
    }

    friend bool operator!= (const ColourName& a, const ColourName& b) noexcept { return ! (a == b); }

private:
    ColourName (const char* utf8, size_t size) noexcept : bytes (utf8), numBytes (size) {}

    juce::String owned; // empty while the bytes are kept elsewhere
    const char* bytes = "";
    size_t numBytes = 0;
};
