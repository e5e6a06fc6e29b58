#pragma once

#include "runtime/DataRef.h"
#include "runtime/List.h"
#include "runtime/PatcherPtr.h"
#include "runtime/String.h"
#include "runtime/Types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <variant>

namespace PRT
{

class PatcherState;
class ValueHolder;

// A 64-bit value that needs no clean-up; the tag tells the four kinds apart.
template <uint32_t Tag>
struct OpaqueValue
{
    uint64_t bits = 0;
};

using OpaqueValueA = OpaqueValue<3>;
using OpaqueValueB = OpaqueValue<8>;
using OpaqueValueC = OpaqueValue<13>;
using OpaqueValueD = OpaqueValue<15>;

// Four fields, the third a block of platform memory that the record owns. Moved, never copied.
struct StorageRecord
{
    StorageRecord() = default;
    StorageRecord(uint32_t kind, uint64_t size, void* storage, uint64_t count);
    StorageRecord(StorageRecord&& other) noexcept;
    StorageRecord& operator=(StorageRecord&& other) noexcept;
    StorageRecord(const StorageRecord&) = delete;
    StorageRecord& operator=(const StorageRecord&) = delete;
    ~StorageRecord();

    uint32_t kind = 0;
    uint64_t size = 0;
    void* storage = nullptr; // owned, released through the platform
    uint64_t count = 0;
};

using SubStateCollection = std::unordered_map<uint32_t, std::shared_ptr<ValueHolder>>;

// Name-keyed access to a tree of typed values. Typed reads of a missing name or of another type
// throw (std::bad_variant_access), so code on the audio thread reads with findFloat.
class PatcherStateInterface
{
public:
    virtual ~PatcherStateInterface() = default;

    // Read-only lookups: a missing name throws std::out_of_range, another type std::bad_variant_access.
    virtual const PatcherStateInterface& getSubState(const char* name) const = 0;
    virtual const PatcherStateInterface& getSubStateAt(const char* name, Index index) const = 0;
    // Writing lookups: create the entry, or replace a value of another type by an empty sub-state.
    virtual PatcherStateInterface& getSubState(const char* name) = 0;
    virtual PatcherStateInterface& getSubStateAt(const char* name, Index index) = 0;

    virtual bool isEmpty() const = 0;

    // add() inserts only under a new name; an existing entry keeps its value and the new value is
    // destroyed (an owned patcher handed in under an existing name is deleted).
    virtual void add(const char* name, const char* text) = 0;
    virtual void add(const char* name, OpaqueValueC value) = 0;
    virtual void add(const char* name, StorageRecord record) = 0;
    virtual void add(const char* name, DataRef ref) = 0;
    virtual void add(const char* name, const list& values) = 0;
    virtual void add(const char* name, OpaqueValueB value) = 0;
    virtual void add(const char* name, PatcherPtr patcher) = 0;
    virtual void add(const char* name, bool value) = 0;
    virtual void add(const char* name, OpaqueValueD value) = 0;
    virtual void add(const char* name, int32_t value) = 0;
    virtual void add(const char* name, OpaqueValueA value) = 0;
    virtual void add(const char* name, double value) = 0;
    virtual void add(const char* name, float value) = 0;

    // Typed reads. A missing name is first inserted empty, then the read fails on its type.
    virtual float getFloat(const char* name) = 0;
    virtual double getDouble(const char* name) = 0;
    virtual OpaqueValueA getOpaqueA(const char* name) = 0;
    virtual int32_t getInt(const char* name) = 0;
    virtual OpaqueValueD getOpaqueD(const char* name) = 0;
    virtual bool getBool(const char* name) = 0;
    // Moves the patcher out; the entry stays, holding an empty owner.
    virtual PatcherPtr takeOwnedPatcher(const char* name) = 0;
    virtual OpaqueValueB getOpaqueB(const char* name) = 0;
    virtual list getList(const char* name) = 0;
    virtual DataRef& getDataRefEntry(const char* name) = 0;
    virtual StorageRecord& getStorageRecord(const char* name) = 0;
    virtual OpaqueValueC getOpaqueC(const char* name) = 0;
    // Valid while the entry lives.
    virtual const char* getString(const char* name) = 0;

    virtual bool contains(const char* name) const = 0;

    // The float under name, if there is one: never inserts, never throws.
    virtual std::optional<float> findFloat(const char* name) const = 0;
    // The sub-state under name, or null when there is none or the entry holds another type: never
    // inserts, never throws.
    virtual const PatcherStateInterface* findSubState(const char* name) const = 0;
};

// One value of the tree; its tag is the index of the alternative it holds.
class ValueHolder
{
public:
    enum Tag : uint32_t
    {
        None = 0,
        Float = 1,
        Double = 2,
        OpaqueA = 3,
        Int = 4,
        Bool = 5,
        OwnedPatcher = 6,
        SubState = 7,
        OpaqueB = 8,
        SubStateCollectionTag = 9,
        List = 10,
        DataRefTag = 11,
        StorageRecordTag = 12,
        OpaqueC = 13,
        Text = 14,
        OpaqueD = 15
    };

    ValueHolder() = default;
    explicit ValueHolder(float v) : value(v) {}
    explicit ValueHolder(double v) : value(v) {}
    explicit ValueHolder(OpaqueValueA v) : value(v) {}
    explicit ValueHolder(int32_t v) : value(v) {}
    explicit ValueHolder(bool v) : value(v) {}
    explicit ValueHolder(PatcherPtr patcher) : value(std::move(patcher)) {}
    explicit ValueHolder(std::shared_ptr<PatcherState> subState) : value(std::move(subState)) {}
    explicit ValueHolder(OpaqueValueB v) : value(v) {}
    explicit ValueHolder(std::shared_ptr<SubStateCollection> collection) : value(std::move(collection)) {}
    explicit ValueHolder(const list& values) : value(values) {}
    explicit ValueHolder(DataRef ref) : value(std::move(ref)) {}
    explicit ValueHolder(StorageRecord record) : value(std::move(record)) {}
    explicit ValueHolder(OpaqueValueC v) : value(v) {}
    explicit ValueHolder(const char* text) : value(String(text)) {}
    explicit ValueHolder(OpaqueValueD v) : value(v) {}

    uint32_t getTag() const { return static_cast<uint32_t>(value.index()); }

    // Typed reads: std::bad_variant_access when the tag differs.
    float getFloat() const { return std::get<Float>(value); }
    double getDouble() const { return std::get<Double>(value); }
    OpaqueValueA getOpaqueA() const { return std::get<OpaqueA>(value); }
    int32_t getInt() const { return std::get<Int>(value); }
    bool getBool() const { return std::get<Bool>(value); }
    PatcherPtr takeOwnedPatcher() { return std::move(std::get<OwnedPatcher>(value)); }
    OpaqueValueB getOpaqueB() const { return std::get<OpaqueB>(value); }
    const list& getList() const { return std::get<List>(value); }
    DataRef& getDataRef() { return std::get<DataRefTag>(value); }
    StorageRecord& getStorageRecord() { return std::get<StorageRecordTag>(value); }
    OpaqueValueC getOpaqueC() const { return std::get<OpaqueC>(value); }
    const char* getString() const { return std::get<Text>(value).c_str(); }
    OpaqueValueD getOpaqueD() const { return std::get<OpaqueD>(value); }
    const float* findFloat() const { return std::get_if<Float>(&value); }

    // The held sub-state; a value of another type is first replaced by an empty sub-state.
    PatcherState& getSubState();
    // The sub-state under index in the held collection; a value of another type is first replaced by
    // an empty collection, a missing index gets an empty holder.
    PatcherState& getSubStateAt(Index index);

    // The same without converting this holder: std::bad_variant_access when the tag differs.
    const PatcherState& getExistingSubState() const;
    const PatcherState& getExistingSubStateAt(Index index) const;

private:
    std::variant<std::monostate, float, double, OpaqueValueA, int32_t, bool, PatcherPtr, std::shared_ptr<PatcherState>,
                 OpaqueValueB, std::shared_ptr<SubStateCollection>, list, DataRef, StorageRecord, OpaqueValueC, String,
                 OpaqueValueD>
        value;
};

// The state tree: a hash map from name (hashed with the tag hash) to value holder. Handed around by
// shared pointer; not thread-safe.
class PatcherState : public PatcherStateInterface
{
public:
    PatcherState();

    const PatcherState& getSubState(const char* name) const override;
    const PatcherState& getSubStateAt(const char* name, Index index) const override;
    PatcherState& getSubState(const char* name) override;
    PatcherState& getSubStateAt(const char* name, Index index) override;

    bool isEmpty() const override { return entries.empty(); }

    void add(const char* name, const char* text) override;
    void add(const char* name, OpaqueValueC value) override;
    void add(const char* name, StorageRecord record) override;
    void add(const char* name, DataRef ref) override;
    void add(const char* name, const list& values) override;
    void add(const char* name, OpaqueValueB value) override;
    void add(const char* name, PatcherPtr patcher) override;
    void add(const char* name, bool value) override;
    void add(const char* name, OpaqueValueD value) override;
    void add(const char* name, int32_t value) override;
    void add(const char* name, OpaqueValueA value) override;
    void add(const char* name, double value) override;
    void add(const char* name, float value) override;

    float getFloat(const char* name) override;
    double getDouble(const char* name) override;
    OpaqueValueA getOpaqueA(const char* name) override;
    int32_t getInt(const char* name) override;
    OpaqueValueD getOpaqueD(const char* name) override;
    bool getBool(const char* name) override;
    PatcherPtr takeOwnedPatcher(const char* name) override;
    OpaqueValueB getOpaqueB(const char* name) override;
    list getList(const char* name) override;
    DataRef& getDataRefEntry(const char* name) override;
    StorageRecord& getStorageRecord(const char* name) override;
    OpaqueValueC getOpaqueC(const char* name) override;
    const char* getString(const char* name) override;

    bool contains(const char* name) const override;
    std::optional<float> findFloat(const char* name) const override;
    const PatcherStateInterface* findSubState(const char* name) const override;

    // True only for the placeholder the engine hands out while it cannot take the patcher.
    virtual bool isDummy() const { return false; }

    size_t getNumEntries() const { return entries.size(); }

private:
    template <typename Value>
    void insertIfAbsent(const char* name, Value&& value);
    ValueHolder& entry(const char* name);
    const ValueHolder* find(const char* name) const;

    std::unordered_map<String, ValueHolder, StringHash> entries;
};

// The always-empty state the engine hands out while a patcher swap holds the patcher.
class DummyPreset : public PatcherState
{
public:
    bool isDummy() const override { return true; }
};

// A state that takes nothing and reads as empty everywhere; every sub-state is itself.
class PatcherStateDummy : public PatcherStateInterface
{
public:
    const PatcherStateDummy& getSubState(const char*) const override { return *this; }
    const PatcherStateDummy& getSubStateAt(const char*, Index) const override { return *this; }
    PatcherStateDummy& getSubState(const char*) override { return *this; }
    PatcherStateDummy& getSubStateAt(const char*, Index) override { return *this; }

    bool isEmpty() const override { return true; }

    void add(const char*, const char*) override {}
    void add(const char*, OpaqueValueC) override {}
    void add(const char*, StorageRecord) override {}
    void add(const char*, DataRef) override {}
    void add(const char*, const list&) override {}
    void add(const char*, OpaqueValueB) override {}
    void add(const char*, PatcherPtr) override {}
    void add(const char*, bool) override {}
    void add(const char*, OpaqueValueD) override {}
    void add(const char*, int32_t) override {}
    void add(const char*, OpaqueValueA) override {}
    void add(const char*, double) override {}
    void add(const char*, float) override {}

    float getFloat(const char*) override { return 0; }
    double getDouble(const char*) override { return 0; }
    OpaqueValueA getOpaqueA(const char*) override { return {}; }
    int32_t getInt(const char*) override { return 0; }
    OpaqueValueD getOpaqueD(const char*) override { return {}; }
    bool getBool(const char*) override { return false; }
    PatcherPtr takeOwnedPatcher(const char*) override { return nullptr; }
    OpaqueValueB getOpaqueB(const char*) override { return {}; }
    list getList(const char*) override { return emptyList; }
    DataRef& getDataRefEntry(const char*) override { return emptyDataRef; }
    StorageRecord& getStorageRecord(const char*) override { return emptyRecord; }
    OpaqueValueC getOpaqueC(const char*) override { return {}; }
    const char* getString(const char*) override { return ""; }

    bool contains(const char*) const override { return false; }
    std::optional<float> findFloat(const char*) const override { return std::nullopt; }
    const PatcherStateInterface* findSubState(const char*) const override { return nullptr; }

private:
    list emptyList;
    DataRef emptyDataRef;
    StorageRecord emptyRecord;
};

} // namespace PRT
