// Validating a skin package and printing its element model (skintool check and dump).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/VuzUrezDataElements.h"

// Every problem found, one line each; empty when the package is sound: it unpacks, has the
// right version and a description, every image the description names is present and decodes,
// frame counts divide the image sides they cut, and slice margins fit inside a frame.
std::vector<std::string> CheckSkinPackage(const std::uint8_t* stored, std::size_t size);
// Every slot, margin, frame count, colour and caption button, as text.
std::string DumpSkinElements(const TSkinElements& skin);
