#pragma once
// The Blowfish block cipher (64-bit blocks, 16 rounds) as the password hash
// uses it: the state starts from the digits of pi and is then changed by the
// key schedule of the caller. Blocks are two big-endian 32-bit words.

#include <cstdint>

/// Cipher state: the P-array and the four S-boxes, plain arrays so that the
/// round function compiles to table loads.
struct TBlowfishData {
    uint32_t PBoxes[18];
    uint32_t SBoxes[4][256];
};

/// Sets the state to its published initial value (hex digits of pi).
void BlowfishInitState(TBlowfishData& state);

/// Encrypts one 8-byte block; inBlock and outBlock may be the same buffer.
void BlowfishEncryptECB(const TBlowfishData& state, const void* inBlock, void* outBlock);

/// The round function F.
inline uint32_t BlowfishF(const TBlowfishData& state, uint32_t x)
{
    return ((state.SBoxes[0][x >> 24] + state.SBoxes[1][(x >> 16) & 0xFF])
            ^ state.SBoxes[2][(x >> 8) & 0xFF])
           + state.SBoxes[3][x & 0xFF];
}

/// Encrypts the block (left, right) in place: 16 rounds, two per step so that
/// the halves need no swapping.
inline void BlowfishEncryptWords(const TBlowfishData& state, uint32_t& left, uint32_t& right)
{
    const uint32_t* p = state.PBoxes;
    uint32_t l = left ^ p[0];
    uint32_t r = right;
    for (int i = 1; i < 17; i += 2) {
        r ^= BlowfishF(state, l) ^ p[i];
        l ^= BlowfishF(state, r) ^ p[i + 1];
    }
    left = r ^ p[17];
    right = l;
}
