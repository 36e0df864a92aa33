// The up-down skinner: spin arrows, free-standing, inside an edit, or the scroll arrows of a
// tab control or tab set.
#pragma once

#include "skin/controls/WinSubClass.h"
#include "skin/paint/SkinPictureCache.h"

class TSkinUpDown : public TSkinControl {
  DASKEL_CLASS(TSkinUpDown, TSkinControl)
 public:
  explicit TSkinUpDown(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void RefreshSkin() override;
  std::size_t PictureBytes() const override { return TSkinControl::PictureBytes() + FPicture.Bytes(); }

  bool FInEdit = false;      // inside an edit: drawn one pixel inside the client area
  bool FHorizontal = false;  // side by side even without UDS_HORZ

 private:
  bool Horizontal() const;
  // 0: the first arrow (up or left) is at the client point, 1: the second.
  int ArrowAt(int x, int y) const;
  int FHotArrow = -1;
  int FPressedArrow = -1;  // 0 the first arrow, 1 the second, while pressed
  TPictureCache FPicture;  // the arrows of the last paint
};
