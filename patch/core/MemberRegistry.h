#pragma once

namespace PRT
{

// An intrusive list of the members of one kind that a generated class holds (interface objects,
// signal buffers, data views): members add themselves on construction, so the list keeps the order in
// which the class declares them. Needs no storage of its own; T grants access to its link with
// `friend class MemberRegistry<T>` and a `T* nextRegistered` member.
template <typename T>
class MemberRegistry
{
public:
    void add(T& member)
    {
        if (last != nullptr)
            last->nextRegistered = &member;
        else
            first = &member;
        last = &member;
    }

    bool empty() const { return first == nullptr; }

    template <typename Visit>
    void forEach(Visit&& visit) const
    {
        for (T* member = first; member != nullptr; member = member->nextRegistered)
            visit(*member);
    }

private:
    T* first = nullptr;
    T* last = nullptr;
};

} // namespace PRT
