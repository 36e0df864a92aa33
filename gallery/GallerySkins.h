// Where the gallery's skins come from: the light one stored in the main form's layout, the dark
// one in a resource of the executable, or any skin package file; and how one is put in place.
#pragma once

#include <string>

#include "skin/data/VuzUrezData.h"

// Why the file at `path` cannot be previewed, in a few words ("" when it is a skin package the
// engine reads). The file is only read; nothing is loaded into a component.
std::string SkinFileProblem(const std::string& path);

// The dark built-in skin ("Daskel Night"), from the executable's NIGHTSKIN resource, in the
// stored form a skin data component's SkinStream holds (4-byte size, then the package); empty
// when the resource is missing.
std::string NightSkinStream();

// Puts a skin (stored form, as SkinStreamBytes gives it) into `data` and asks the engine to
// redraw every skinned window with it. Returns false when the bytes are not a readable skin
// (the component then has none: give it a good one).
bool ApplySkinStream(TSkinData& data, const std::string& stored);
