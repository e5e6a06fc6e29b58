#include "runtime/PatcherState.h"

#include "runtime/Platform.h"

#include <stdexcept>
#include <utility>

namespace PRT
{

StorageRecord::StorageRecord(uint32_t recordKind, uint64_t recordSize, void* ownedStorage, uint64_t recordCount)
    : kind(recordKind), size(recordSize), storage(ownedStorage), count(recordCount)
{
}

StorageRecord::StorageRecord(StorageRecord&& other) noexcept
    : kind(other.kind), size(other.size), storage(std::exchange(other.storage, nullptr)), count(other.count)
{
}

StorageRecord& StorageRecord::operator=(StorageRecord&& other) noexcept
{
    if (this != &other)
    {
        if (storage != nullptr)
            getPlatform()->free(storage);
        kind = other.kind;
        size = other.size;
        storage = std::exchange(other.storage, nullptr);
        count = other.count;
    }
    return *this;
}

StorageRecord::~StorageRecord()
{
    if (storage != nullptr)
        getPlatform()->free(storage);
}

PatcherState& ValueHolder::getSubState()
{
    if (getTag() != SubState)
        value = std::make_shared<PatcherState>();
    return *std::get<SubState>(value);
}

PatcherState& ValueHolder::getSubStateAt(Index index)
{
    if (getTag() != SubStateCollectionTag)
        value = std::make_shared<SubStateCollection>();
    std::shared_ptr<ValueHolder>& holder = (*std::get<SubStateCollectionTag>(value))[index];
    if (holder == nullptr)
        holder = std::make_shared<ValueHolder>();
    return holder->getSubState();
}

const PatcherState& ValueHolder::getExistingSubState() const
{
    return *std::get<SubState>(value);
}

const PatcherState& ValueHolder::getExistingSubStateAt(Index index) const
{
    // The collection is shared, so even this read may add an empty holder to it.
    std::shared_ptr<ValueHolder>& holder = (*std::get<SubStateCollectionTag>(value))[index];
    if (holder == nullptr)
        holder = std::make_shared<ValueHolder>();
    return holder->getSubState();
}

PatcherState::PatcherState() : entries(8)
{
    entries.max_load_factor(1.0f);
}

const ValueHolder* PatcherState::find(const char* name) const
{
    const auto found = entries.find(String(name));
    return found != entries.end() ? &found->second : nullptr;
}

ValueHolder& PatcherState::entry(const char* name)
{
    return entries[String(name)];
}

template <typename Value>
void PatcherState::insertIfAbsent(const char* name, Value&& value)
{
    // A moved-in value that is not taken dies with the argument: the existing entry wins.
    String key(name);
    if (entries.find(key) == entries.end())
        entries.emplace(std::move(key), ValueHolder(std::forward<Value>(value)));
}

const PatcherState& PatcherState::getSubState(const char* name) const
{
    const ValueHolder* holder = find(name);
    if (holder == nullptr)
        throw std::out_of_range("invalid unordered_map<K, T> key");
    return holder->getExistingSubState();
}

const PatcherState& PatcherState::getSubStateAt(const char* name, Index index) const
{
    const ValueHolder* holder = find(name);
    if (holder == nullptr)
        throw std::out_of_range("invalid unordered_map<K, T> key");
    return holder->getExistingSubStateAt(index);
}

PatcherState& PatcherState::getSubState(const char* name)
{
    return entry(name).getSubState();
}

PatcherState& PatcherState::getSubStateAt(const char* name, Index index)
{
    return entry(name).getSubStateAt(index);
}

void PatcherState::add(const char* name, const char* text)
{
    insertIfAbsent(name, text);
}

void PatcherState::add(const char* name, OpaqueValueC value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, StorageRecord record)
{
    insertIfAbsent(name, std::move(record));
}

void PatcherState::add(const char* name, DataRef ref)
{
    insertIfAbsent(name, std::move(ref));
}

void PatcherState::add(const char* name, const list& values)
{
    insertIfAbsent(name, values);
}

void PatcherState::add(const char* name, OpaqueValueB value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, PatcherPtr patcher)
{
    insertIfAbsent(name, std::move(patcher));
}

void PatcherState::add(const char* name, bool value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, OpaqueValueD value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, int32_t value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, OpaqueValueA value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, double value)
{
    insertIfAbsent(name, value);
}

void PatcherState::add(const char* name, float value)
{
    insertIfAbsent(name, value);
}

float PatcherState::getFloat(const char* name)
{
    return entry(name).getFloat();
}

double PatcherState::getDouble(const char* name)
{
    return entry(name).getDouble();
}

OpaqueValueA PatcherState::getOpaqueA(const char* name)
{
    return entry(name).getOpaqueA();
}

int32_t PatcherState::getInt(const char* name)
{
    return entry(name).getInt();
}

OpaqueValueD PatcherState::getOpaqueD(const char* name)
{
    return entry(name).getOpaqueD();
}

bool PatcherState::getBool(const char* name)
{
    return entry(name).getBool();
}

PatcherPtr PatcherState::takeOwnedPatcher(const char* name)
{
    return entry(name).takeOwnedPatcher();
}

OpaqueValueB PatcherState::getOpaqueB(const char* name)
{
    return entry(name).getOpaqueB();
}

list PatcherState::getList(const char* name)
{
    return entry(name).getList();
}

DataRef& PatcherState::getDataRefEntry(const char* name)
{
    return entry(name).getDataRef();
}

StorageRecord& PatcherState::getStorageRecord(const char* name)
{
    return entry(name).getStorageRecord();
}

OpaqueValueC PatcherState::getOpaqueC(const char* name)
{
    return entry(name).getOpaqueC();
}

const char* PatcherState::getString(const char* name)
{
    return entry(name).getString();
}

bool PatcherState::contains(const char* name) const
{
    return find(name) != nullptr;
}

std::optional<float> PatcherState::findFloat(const char* name) const
{
    const ValueHolder* holder = find(name);
    if (holder == nullptr)
        return std::nullopt;
    if (const float* value = holder->findFloat())
        return *value;
    return std::nullopt;
}

const PatcherStateInterface* PatcherState::findSubState(const char* name) const
{
    const ValueHolder* holder = find(name);
    if (holder == nullptr || holder->getTag() != ValueHolder::SubState)
        return nullptr;
    return &holder->getExistingSubState();
}

} // namespace PRT
