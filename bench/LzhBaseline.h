// The reference decoder: a plain transcription of the published LZHUF decoder that moves every
// byte through a read callback and a write callback, as the classic code does. Kept as the
// yardstick for the decoder in skin/data (speed) and as an independent second implementation
// for differential tests (output).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace baseline {

// Callbacks: store or take up to `count` bytes and report how many were moved.
using TReadProc = void (*)(void* ctx, std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done);
using TWriteProc = void (*)(void* ctx, const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& done);

void Unpack(std::int32_t declared, TReadProc read, TWriteProc write, void* ctx);

// Stored blob (4-byte length + bit stream) to bytes, through memory-stream callbacks.
std::vector<std::uint8_t> DecodeStored(const std::uint8_t* data, std::size_t size);

}  // namespace baseline
