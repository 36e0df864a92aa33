// SkinGallery: every kind of control and window the skinning engine draws, on one main form,
// for skin authors to preview a skin and for engineers to see how the engine is embedded.
//
//   SkinGallery.exe [--skin FILE]
//
// --skin previews the skin package FILE instead of the built-in light skin.
#include <windows.h>

#include <cstring>
#include <string>

#include "gallery/GalleryMain.h"
#include "skin/form/SkinEngine.h"
#include "skin/manager/SkinManage.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string skinFile;
  bool skinFileMissing = false;
  for (int i = 1; i < __argc; ++i) {
    if (!strcmp(__argv[i], "--skin")) {
      if (i + 1 < __argc)
        skinFile = __argv[++i];
      else
        skinFileMissing = true;
    } else if (!strncmp(__argv[i], "--skin=", 7)) {
      skinFile = __argv[i] + 7;
    }
  }

  // Embedding the engine takes no more than this: the engine is installed before the main form
  // is made, the main form's layout holds a TSkinData (Active, with the skin stored in it), and
  // the skin manager is freed after the loop.
  Application->Initialize();
  InstallSkinEngine();
  Application->SetTitle("SkinGallery");
  Application->CreateForm(GalleryForm);
  if (GalleryForm && skinFileMissing)
    MessageBoxA(nullptr, "--skin needs the name of a skin package file.", "SkinGallery",
                MB_OK | MB_ICONERROR);
  else if (GalleryForm && !skinFile.empty())
    GalleryForm->PreviewSkinFile(skinFile);
  Application->Run();
  // The skinning goes before the forms it skins; the forms go with the application afterwards.
  FreeSkinManager();
  return 0;
}
