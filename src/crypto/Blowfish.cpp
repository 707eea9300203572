#include "crypto/Blowfish.h"

#include <cstring>

namespace {

#include "crypto/BlowfishPi.inc"

uint32_t LoadBigEndian(const unsigned char* b)
{
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}

void StoreBigEndian(uint32_t w, unsigned char* b)
{
    b[0] = static_cast<unsigned char>(w >> 24);
    b[1] = static_cast<unsigned char>(w >> 16);
    b[2] = static_cast<unsigned char>(w >> 8);
    b[3] = static_cast<unsigned char>(w);
}

} // namespace

void BlowfishInitState(TBlowfishData& state)
{
    static_assert(sizeof state.PBoxes == sizeof kPiPArray);
    static_assert(sizeof state.SBoxes == sizeof kPiSBoxes);
    std::memcpy(state.PBoxes, kPiPArray, sizeof state.PBoxes);
    std::memcpy(state.SBoxes, kPiSBoxes, sizeof state.SBoxes);
}

void BlowfishEncryptECB(const TBlowfishData& state, const void* inBlock, void* outBlock)
{
    const auto* in = static_cast<const unsigned char*>(inBlock);
    auto* out = static_cast<unsigned char*>(outBlock);
    uint32_t l = LoadBigEndian(in);
    uint32_t r = LoadBigEndian(in + 4);
    BlowfishEncryptWords(state, l, r);
    StoreBigEndian(l, out);
    StoreBigEndian(r, out + 4);
}
