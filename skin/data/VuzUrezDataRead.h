// Reading a skin: from the stored package to a filled element model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/IniReader.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezDataElements.h"

// What one skin may cost. A skin package is untrusted input: a few kilobytes could otherwise
// name thousands of sections or images, each held (and on Windows drawn through a GDI object)
// on its own, or margins that overflow the painters' sums.
constexpr std::size_t kMaxSkinRecords = 512;       // caption-button and colour sections together
constexpr std::size_t kMaxSkinImages = 512;        // distinct images held: one GDI bitmap each
constexpr std::int64_t kMaxSkinPixels = 16 << 20;  // their pixels together
// Slice margins and caps are held to 0..kMaxSkinMargin, text shifts and caption-button offsets to
// -kMaxSkinMargin..kMaxSkinMargin, when the skin is read: far beyond any window, and sums of a
// few of them stay far inside an int.
constexpr std::int32_t kMaxSkinMargin = 1 << 15;

// An image key followed by this names the same image drawn for twice the size ("Image@2x=",
// "Left@2x=", "ButtonImage@2x="), used when drawing at high DPI. A reader that does not know it
// never sees it: keys are matched whole.
constexpr std::string_view kHighResKeySuffix = "@2x";

// Fills every slot, colour and list of `skin` from the description `ini`, loading the images
// from `package`; clears NoSkin at the end. Missing keys give their defaults; an image that is
// named but missing, or that does not decode, leaves an empty bitmap and, when `problems` is
// given, a line saying so; so does a margin held to its bounds, and a high-resolution twin that
// is not exactly twice its image's size (it is dropped, and the image alone is drawn). Each image member is
// decoded once, and every part that names it shares its pixels. A description over one of the limits above is
// not read to the end: TooLarge, NoSkin stays set and *error says which limit; Ok otherwise.
TPackageStatus ReadSkinDescription(TSkinElements& skin, const TIniReader& ini, const TSkinReader& package,
                                   std::vector<std::string>* problems = nullptr,
                                   std::string* error = nullptr);

// When a load decodes the high-resolution twins: with the images (every twin checked, problem
// lines included), or only when first asked for (LoadHighResImages), so a window drawn at 96 DPI
// never pays for them.
enum class THighResLoad { Now, WhenAsked };

// The whole load: unpack the stored package, find the description (the first member whose name
// contains ".ini") and read it. WrongVersion, Corrupt and TooLarge leave NoSkin set (the caller
// keeps the skin it had); a package without a description is Corrupt.
TPackageStatus LoadSkinPackage(const std::uint8_t* stored, std::size_t size, TSkinElements& skin,
                               std::string* error = nullptr, std::vector<std::string>* problems = nullptr,
                               THighResLoad highRes = THighResLoad::Now);

// Gives a skin loaded WhenAsked its high-resolution twins (once; later calls do nothing). Twins
// that would have been dropped with a problem line are dropped silently, and none are given when
// the skin with them would pass a limit. True when the skin now has every twin it names.
bool LoadHighResImages(TSkinElements& skin);

// A skin package file larger than this is refused before it is read.
constexpr std::size_t kMaxSkinPackageSize = 16u << 20;

// Why the bytes of a skin package file cannot serve as a skin, in a few words ("" when they
// can): empty, too large, of another version, not a package, or holding no skin. The check reads
// the whole skin: a caller that goes on to use it takes it from *loaded instead of reading the
// package again.
std::string SkinPackageProblem(const std::uint8_t* package, std::size_t size,
                               TSkinElements* loaded = nullptr);

// The image member a description value names: the part after the last "\" or ":", and only
// when it ends in ".bmp" exactly (lower case); empty otherwise.
std::string ImageMemberName(std::string_view value);
