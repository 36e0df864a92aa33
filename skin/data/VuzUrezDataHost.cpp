// The host build has no windows: no brush, no image lists, and the old-skin message is only
// counted, so tests can see that it would have been shown.
#include "skin/data/VuzUrezDataHost.h"
#include "skin/data/VuzUrezData.h"

struct TSkinData::TPlatformPart {};

void TSkinData::TPlatformDeleter::operator()(TPlatformPart* part) const { delete part; }

TSkinData::TPlatformPart* CreateSkinDataPlatform(TSkinData&) { return new TSkinData::TPlatformPart; }
void SkinDataPlatformSkinLoaded(TSkinData::TPlatformPart&, const TSkinElements&) {}
TImageList* SkinDataPlatformMenuImages(const TSkinData::TPlatformPart&) { return nullptr; }

int gOlderSkinFileMessages = 0;
void ShowOlderSkinFileMessage() { ++gOlderSkinFileMessages; }
int OlderSkinFileMessagesShown() { return gOlderSkinFileMessages; }
