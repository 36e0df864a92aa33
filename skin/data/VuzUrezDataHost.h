// Host build only: how often the old-skin message would have been shown.
#pragma once

int OlderSkinFileMessagesShown();
