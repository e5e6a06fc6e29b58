#pragma once

#include "patch/core/PatchObject.h"

#include <functional>
#include <initializer_list>

namespace PRT
{

// A message box ("NoiseGen/message_obj-15"): holds a list. "listin" with a list or a number replaces
// the content and reports it with "listout"; "listin" with a bang (or an internal bang) outputs the
// content to the box's connections, without "listout".
class MessageBox : public PatchObject
{
public:
    MessageBox(GeneratedPatcher& owner, HashedText path);

    // Content = a copy of values, reported with "listout"; the box does not fire.
    void sendMessageBoxList(const list& values);
    // The same with the one-element list [value]; allocation-free.
    void sendMessageBoxList(float value);
    // Reports the content with "listout" again, without changing it.
    void echoContent();
    // Set-up: the box's initial content, reported with "listout".
    void setUp(std::initializer_list<float> initialContent);

    // Hands the content to what the box is connected to.
    void output();
    // The bang tag that makes the box output ("listin" unless set; the warbler's boxes take "bangin").
    void setOutputTag(const HashedText& tag) { outputTag = tag.hash; }

    const list& getContent() const { return content; }

    // What the box drives, with its content.
    std::function<void(const list&)> onOutput;

    void receiveNumber(MessageTag tag, float number) override;
    void receiveList(MessageTag tag, const list& values) override;
    void receiveBang(MessageTag tag) override;

private:
    list content;
    MessageTag outputTag;
};

} // namespace PRT
