#include "patch/core/RandomStateJump.h"

#include <array>

namespace PRT
{
namespace
{
// Fewer steps than this are taken one by one: cheaper than a table pass.
constexpr int kFirstTablePower = 5;
// Tables for 2^5 .. 2^13 steps; longer jumps repeat the largest.
constexpr int kTableCount = 9;
constexpr int kNibbles = 32;

struct Bits128
{
    std::uint64_t low = 0;  // s0 | s1 << 32
    std::uint64_t high = 0; // s2 | s3 << 32
};

Bits128 toBits(const RandomState& s)
{
    return {s.s0 | static_cast<std::uint64_t>(s.s1) << 32, s.s2 | static_cast<std::uint64_t>(s.s3) << 32};
}

RandomState toState(const Bits128& b)
{
    return {static_cast<std::uint32_t>(b.low), static_cast<std::uint32_t>(b.low >> 32),
            static_cast<std::uint32_t>(b.high), static_cast<std::uint32_t>(b.high >> 32)};
}

// One power of the step as a table per nibble of the state: entry [p][v] is the image of the nibble
// value v at nibble position p, so the image of a state is the XOR of its 32 nibbles' entries.
struct JumpTable
{
    std::array<std::array<Bits128, 16>, kNibbles> entries;

    Bits128 apply(const Bits128& x) const
    {
        Bits128 y;
        for (int p = 0; p < 16; ++p)
        {
            const Bits128& a = entries[static_cast<std::size_t>(p)][(x.low >> (4 * p)) & 15u];
            const Bits128& b = entries[static_cast<std::size_t>(p + 16)][(x.high >> (4 * p)) & 15u];
            y.low ^= a.low ^ b.low;
            y.high ^= a.high ^ b.high;
        }
        return y;
    }

    // From the images of the 128 single bits.
    static JumpTable fromColumns(const std::array<Bits128, 128>& columns)
    {
        JumpTable table;
        for (int p = 0; p < kNibbles; ++p)
            for (unsigned v = 0; v < 16; ++v)
            {
                Bits128 sum;
                for (int bit = 0; bit < 4; ++bit)
                    if ((v >> bit) & 1u)
                    {
                        sum.low ^= columns[static_cast<std::size_t>(4 * p + bit)].low;
                        sum.high ^= columns[static_cast<std::size_t>(4 * p + bit)].high;
                    }
                table.entries[static_cast<std::size_t>(p)][v] = sum;
            }
        return table;
    }
};

struct JumpTables
{
    std::array<JumpTable, kTableCount> powers;

    JumpTables()
    {
        // The first power by stepping each single bit, every next one by applying the previous twice.
        std::array<Bits128, 128> columns;
        for (int j = 0; j < 128; ++j)
        {
            Bits128 unit;
            (j < 64 ? unit.low : unit.high) = std::uint64_t{1} << (j % 64);
            RandomState s = toState(unit);
            for (int k = 0; k < (1 << kFirstTablePower); ++k)
                nextRandomBits(s);
            columns[static_cast<std::size_t>(j)] = toBits(s);
        }
        powers[0] = JumpTable::fromColumns(columns);
        for (std::size_t t = 1; t < powers.size(); ++t)
        {
            for (Bits128& column : columns)
                column = powers[t - 1].apply(column);
            powers[t] = JumpTable::fromColumns(columns);
        }
    }
};

const JumpTables tables;
} // namespace

void advanceRandomState(RandomState& state, std::uint64_t steps)
{
    constexpr std::uint64_t tableSteps = std::uint64_t{1} << kFirstTablePower;
    for (std::uint64_t k = steps % tableSteps; k > 0; --k)
        nextRandomBits(state);
    std::uint64_t rest = steps >> kFirstTablePower;
    if (rest == 0)
        return;
    Bits128 bits = toBits(state);
    for (std::size_t t = 0; rest != 0; rest >>= 1)
    {
        if (t + 1 < tables.powers.size())
        {
            if (rest & 1u)
                bits = tables.powers[t].apply(bits);
            ++t;
        }
        else
        {
            // The largest power, once per remaining unit of it.
            for (std::uint64_t k = rest; k > 0; --k)
                bits = tables.powers[t].apply(bits);
            break;
        }
    }
    state = toState(bits);
}

} // namespace PRT
