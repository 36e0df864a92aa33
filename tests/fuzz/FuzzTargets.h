// The bodies of the fuzz targets, shared by the libFuzzer executables (fuzz preset) and the host
// test that replays the regression corpus under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {
int Lzh(const std::uint8_t* data, std::size_t size);      // stored blob, checked against the transcription
int Package(const std::uint8_t* data, std::size_t size);  // unpacked package, then its description
int Ini(const std::uint8_t* data, std::size_t size);      // INI text and colour texts
int Bmp(const std::uint8_t* data, std::size_t size);      // BMP file, then the transforms
int Description(const std::uint8_t* data, std::size_t size);  // a description over a fixed set of images
int Load(const std::uint8_t* data, std::size_t size);   // a whole stored package, as a skin file is loaded
int Paint(const std::uint8_t* data, std::size_t size);  // the portable painters and layouts, hostile values
}  // namespace fuzz
