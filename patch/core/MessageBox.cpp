#include "patch/core/MessageBox.h"

#include "patch/core/GeneratedLists.h"
#include "patch/core/MessageTags.h"

namespace PRT
{
namespace
{
constexpr const HashedText* messageBoxTags[] = {&tags::listin, &tags::listout};
}

MessageBox::MessageBox(GeneratedPatcher& owner, HashedText path)
    : PatchObject(owner, path, NumberMessages | ListMessages | BangMessages, makeTagSet(messageBoxTags)),
      outputTag(tags::listin.hash)
{
    // Room for the one-value contents that the patch sets while it runs.
    content.reserve(1);
}

void MessageBox::sendMessageBoxList(const list& values)
{
    content = values;
    sendList(tags::listout, content);
}

void MessageBox::sendMessageBoxList(float value)
{
    assignSingleValue(content, value);
    sendList(tags::listout, content);
}

void MessageBox::echoContent()
{
    sendList(tags::listout, content);
}

void MessageBox::setUp(std::initializer_list<float> initialContent)
{
    content.clear();
    for (const float value : initialContent)
        content.push(value);
    sendList(tags::listout, content);
}

void MessageBox::output()
{
    if (onOutput)
        onOutput(content);
}

void MessageBox::receiveNumber(MessageTag tag, float number)
{
    if (tag == tags::listin.hash)
        sendMessageBoxList(number);
}

void MessageBox::receiveList(MessageTag tag, const list& values)
{
    if (tag == tags::listin.hash)
        sendMessageBoxList(values);
}

void MessageBox::receiveBang(MessageTag tag)
{
    if (tag == outputTag)
        output();
}

} // namespace PRT
