#include "skin/form/SkinEngine.h"

#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"

namespace {
TSkinnedWindow* NewFormSkinner(TComponent* owner) { return new TVuzUrezForm(owner); }
}  // namespace

void InstallSkinEngine() { UseSkinManager(&NewFormSkinner); }
