// Building skin packages (skintool and the tests): members in, unpacked or stored bytes out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPackMember {
  std::string name;
  std::vector<std::uint8_t> data;
};

// The unpacked package: header (version, names length, two reserved words), the names each
// followed by CR LF, the sizes, the data.
std::vector<std::uint8_t> BuildUnpackedPackage(const std::vector<TPackMember>& members,
                                               std::int32_t version = 20000);
// The stored package: 4-byte length + LZHUF stream of the unpacked package.
std::vector<std::uint8_t> BuildStoredPackage(const std::vector<TPackMember>& members,
                                             std::int32_t version = 20000);
