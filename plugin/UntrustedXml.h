#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace Quillmore
{
// Parses an XML file that anyone may have written (a user preset) with the framework's parser, but
// only when the parser is sure to get through it: JUCE 7.0.5's parser loops for ever on a processing
// instruction ("<?...?>") met inside an element, recurses once per level of element nesting, so
// that a deeply nested file overflows the stack, and expands an entity declared in the document type
// without end when its value refers back to it. Such files, and any that cannot be read or are not
// well-formed, give null. A preset file holds some 45 elements; maximumElements leaves room to spare.
// Only a regular file of at most maximumUntrustedXmlBytes is read (readBoundedRegularFile): a preset
// file takes a few kilobytes.
inline constexpr size_t maximumUntrustedXmlBytes = 1 << 20;
std::unique_ptr<juce::XmlElement> parseUntrustedXml(const juce::File& file, int maximumElements = 256);
// The same for a text already read.
std::unique_ptr<juce::XmlElement> parseUntrustedXmlText(const juce::String& text, int maximumElements = 256);

// Whether the framework's parser is sure to get through the text: no "<?" after the first element
// starts, no entity declaration ("<!ENTITY" in any case; without one, only the predefined and numeric
// references expand), and at most maximumElements element starts ('<' followed by anything but '/',
// '!' or '?'), which bounds how deep it can recurse. Counted on the bare text, wherever the marks stand (in a
// quoted value or a comment too): a file refused for that is no preset anyway.
bool isSafeToParseXml(const juce::String& text, int maximumElements);
} // namespace Quillmore
