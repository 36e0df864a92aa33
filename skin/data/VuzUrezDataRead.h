// Reading a skin: from the stored package to a filled element model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/IniReader.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezDataElements.h"

// Fills every slot, colour and list of `skin` from the description `ini`, loading the images
// from `package`; clears NoSkin at the end. Missing keys give their defaults; an image that is
// named but missing, or that does not decode, leaves an empty bitmap and, when `problems` is
// given, a line saying so.
void ReadSkinDescription(TSkinElements& skin, const TIniReader& ini, const TSkinReader& package,
                         std::vector<std::string>* problems = nullptr);

// The whole load: unpack the stored package, find the description (the first member whose name
// contains ".ini") and read it. WrongVersion and Corrupt leave `skin` untouched with NoSkin
// set; a package without a description is Corrupt.
TPackageStatus LoadSkinPackage(const std::uint8_t* stored, std::size_t size, TSkinElements& skin,
                               std::string* error = nullptr, std::vector<std::string>* problems = nullptr);

// A skin package file larger than this is refused before it is read.
constexpr std::size_t kMaxSkinPackageSize = 16u << 20;

// Why the bytes of a skin package file cannot serve as a skin, in a few words ("" when they
// can): empty, too large, of another version, not a package, or holding no skin.
std::string SkinPackageProblem(const std::uint8_t* package, std::size_t size);

// The image member a description value names: the part after the last "\" or ":", and only
// when it ends in ".bmp" exactly (lower case); empty otherwise.
std::string ImageMemberName(std::string_view value);
