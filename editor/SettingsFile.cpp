#include "editor/SettingsFile.h"

#include "plugin/BoundedFileRead.h"
#include "plugin/QuillmoreUserFolder.h"
#include "plugin/UntrustedXml.h"

#include <limits>
#include <optional>

namespace
{
constexpr const char* applicationName = "Quillmore";
constexpr const char* fileSuffix = "settings";
constexpr int pendingSaveDelayMs = 3000;
// The file holds two short values; anything near the limit for XML we did not write is something else.
constexpr size_t maximumBytes = Quillmore::maximumUntrustedXmlBytes;

// The framework's properties-file format: XML, or (read only) its binary form, a magic number and a
// count of key and value strings, zlib-compressed after the magic number in the compressed variant.
constexpr const char* fileTag = "PROPERTIES";
constexpr const char* valueTag = "VALUE";
constexpr const char* nameAttribute = "name";
constexpr const char* valueAttribute = "val";
const int binaryMagic = static_cast<int>(juce::ByteOrder::makeInt('P', 'R', 'O', 'P'));
const int compressedBinaryMagic = static_cast<int>(juce::ByteOrder::makeInt('C', 'P', 'R', 'P'));

// A leading whole number (after blanks, with an optional sign), clamped to the int range; nothing
// when the text does not start with one. A file edited by hand may hold anything.
std::optional<int> leadingWholeNumber(const juce::String& text)
{
    auto p = text.getCharPointer();
    while (p.isWhitespace())
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = (p.getAndAdvance() == '-');
    if (!p.isDigit())
        return std::nullopt;

    constexpr juce::int64 limit = juce::int64(std::numeric_limits<int>::max()) + 1;
    juce::int64 magnitude = 0;
    while (p.isDigit())
    {
        magnitude = std::min(magnitude * 10 + (p.getAndAdvance() - '0'), limit);
    }
    const auto value = negative ? -magnitude : magnitude;
    return static_cast<int>(juce::jlimit<juce::int64>(std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max(), value));
}
juce::File settingsFileLocation()
{
    juce::PropertiesFile::Options options;
    options.applicationName = applicationName;
    options.filenameSuffix = fileSuffix;
#if JUCE_LINUX || JUCE_BSD
    // The framework would put the folder straight under the home folder; the XDG configuration folder
    // is where it belongs, next to the user presets. An absolute folder name takes its place.
    options.folderName = Quillmore::getQuillmoreUserFolder().getFullPathName();
#else
    options.folderName = "ZarnPeloq/Quillmore";
#endif
    options.commonToAllUsers = false;
    return options.getDefaultFile();
}

void readBinaryValues(juce::InputStream& in, juce::StringPairArray& values)
{
    int count = in.readInt();
    while (--count >= 0 && !in.isExhausted())
    {
        const auto key = in.readString();
        const auto value = in.readString();
        if (key.isNotEmpty())
            values.set(key, value);
    }
}

// Whether the bytes are in the binary form; its values, if any, go into values.
bool readBinaryForm(const juce::MemoryBlock& bytes, juce::StringPairArray& values)
{
    juce::MemoryInputStream in(bytes, false);
    const int magic = in.readInt();
    if (magic == binaryMagic)
    {
        readBinaryValues(in, values);
        return true;
    }
    if (magic != compressedBinaryMagic)
        return false;

    // Unpacked up to the same limit, so that a small file cannot unpack without end.
    juce::GZIPDecompressorInputStream unzipped(in);
    juce::MemoryOutputStream unpacked;
    unpacked.writeFromInputStream(unzipped, static_cast<juce::int64>(maximumBytes) + 1);
    if (unpacked.getDataSize() <= maximumBytes)
    {
        juce::MemoryInputStream list(unpacked.getData(), unpacked.getDataSize(), false);
        readBinaryValues(list, values);
    }
    return true;
}

void readXmlForm(const juce::MemoryBlock& bytes, juce::StringPairArray& values)
{
    const auto text = juce::String::createStringFromData(bytes.getData(), static_cast<int>(bytes.getSize()));
    const auto document = Quillmore::parseUntrustedXmlText(text);
    if (document == nullptr || !document->hasTagName(fileTag))
        return;
    const auto asText = juce::XmlElement::TextFormat().singleLine().withoutHeader();
    for (auto* element : document->getChildWithTagNameIterator(valueTag))
    {
        const auto name = element->getStringAttribute(nameAttribute);
        if (name.isEmpty())
            continue;
        const auto* child = element->getFirstChildElement();
        values.set(name, child != nullptr ? child->toString(asText) : element->getStringAttribute(valueAttribute));
    }
}
} // namespace

SettingsFile::SettingsFile() : juce::PropertySet(false), file(settingsFileLocation())
{
}

SettingsFile::~SettingsFile()
{
    saveIfNeeded();
}

void SettingsFile::loadOnce()
{
    if (loaded)
        return;
    loaded = true;

    const juce::InterProcessLock::ScopedLockType locked(lock);
    if (!locked.isLocked())
        return;
    const auto bytes = Quillmore::readBoundedRegularFileBytes(file, maximumBytes);
    if (!bytes)
        return;
    if (!readBinaryForm(*bytes, getAllProperties()))
        readXmlForm(*bytes, getAllProperties());
}

bool SettingsFile::saveIfNeeded()
{
    return !needsWriting || save();
}

// Written as the framework's properties file writes it: a value that is an XML element is kept as
// one, written beside the file and moved over it.
bool SettingsFile::save()
{
    stopTimer();
    if (file == juce::File() || file.isDirectory() || !file.getParentDirectory().createDirectory())
        return false;

    juce::XmlElement document(fileTag);
    const auto& values = getAllProperties();
    for (int i = 0; i < values.size(); ++i)
    {
        auto* element = document.createNewChildElement(valueTag);
        element->setAttribute(nameAttribute, values.getAllKeys()[i]);
        if (auto child = Quillmore::parseUntrustedXmlText(values.getAllValues()[i]))
            element->addChildElement(child.release());
        else
            element->setAttribute(valueAttribute, values.getAllValues()[i]);
    }

    const juce::InterProcessLock::ScopedLockType locked(lock);
    if (!locked.isLocked() || !document.writeTo(file, {}))
        return false;
    needsWriting = false;
    return true;
}

void SettingsFile::propertyChanged()
{
    needsWriting = true;
    startTimer(pendingSaveDelayMs);
}

void SettingsFile::timerCallback()
{
    saveIfNeeded();
}

int SettingsFile::readSkinId()
{
    loadOnce();
    if (!containsKey(skinIdKey))
        return defaultSkinId;
    return leadingWholeNumber(getValue(skinIdKey)).value_or(0);
}

bool SettingsFile::readShowHints()
{
    loadOnce();
    if (!containsKey(showHintsKey))
        return true;
    const auto text = getValue(showHintsKey).trim();
    if (const auto number = leadingWholeNumber(text))
        return *number != 0;
    return !text.equalsIgnoreCase("false");
}

bool SettingsFile::storeSkinId(int skinId)
{
    loadOnce();
    setValue(skinIdKey, skinId);
    return saveIfNeeded();
}

bool SettingsFile::storeShowHints(bool show)
{
    loadOnce();
    setValue(showHintsKey, show);
    return saveIfNeeded();
}
